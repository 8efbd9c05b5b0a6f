#ifndef VAULTTEST_H
#define VAULTTEST_H

// What the tests of the vault share: QtTest, the widgets and SQL modules,
// the main window over a test store, and the helpers that drive them.
#include "modalanswer.h"
#include "otherprogram.h"
#include "teststore.h"
#include "vaultdriver.h"

#include "mainwindow/mainwindow.h"
#include "store/cardstore.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <optional>

#endif
