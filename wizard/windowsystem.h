#pragma once

#include <QApplication>

#include <memory>

// Opens the window system for the wizard's window. Where no display answers
// (DISPLAY empty or naming a display that is not there, -platform xcb without
// one) Qt would abort; instead the program says so in one line and ends with
// status 1, as it does with no display named at all. Qt's notes from a start
// that succeeds are passed on to standard error.
std::unique_ptr<QApplication> openWindowSystem(int &argc, char **argv);
