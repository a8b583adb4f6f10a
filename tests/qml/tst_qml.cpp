// Runs every tst_*.qml of this folder (QUICK_TEST_SOURCE_DIR), with the
// native helpers the screens import registered as the program registers them.
#include <QtQuickTest>

#include "bridge/qmltypes.h"

class Setup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable() { qmltypes::registerTypes(); }
};

QUICK_TEST_MAIN_WITH_SETUP(quill_screens, Setup)

#include "tst_qml.moc"
