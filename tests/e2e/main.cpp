#include "support/qt_test_main.h"

KX_QT_TEST_MAIN
