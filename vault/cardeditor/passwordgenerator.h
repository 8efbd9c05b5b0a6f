#ifndef PASSWORDGENERATOR_H
#define PASSWORDGENERATOR_H

#include <QString>

// Strong passwords from the system's source of randomness.
namespace PasswordGenerator {

constexpr int passwordLength = 20;

// A password of passwordLength characters from letters, digits and
// "!#$%&*+-=?@^_", holding at least one capital, one small letter, one digit
// and one sign; every such password is equally likely.
QString generate();

} // namespace PasswordGenerator

#endif
