#include "access/gate.h"

#include <utility>

namespace Gate {

namespace {

Opener &storedOpener()
{
    static Opener opener;
    return opener;
}

} // namespace

void setMainWindowOpener(Opener opener)
{
    storedOpener() = std::move(opener);
}

QWidget *openMainWindow()
{
    return storedOpener() ? storedOpener()() : nullptr;
}

} // namespace Gate
