// Runs every tst_*.qml of this folder (QUICK_TEST_SOURCE_DIR).
#include <QtQuickTest>

QUICK_TEST_MAIN(quill_screens)
