// Runs every tst_*.qml of this folder (QUICK_TEST_SOURCE_DIR), with the
// native helpers the screens import registered as the program registers them.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "bridge/qmltypes.h"
#include "store/langstrings.h"

class Setup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable() { qmltypes::registerTypes(); }

    // The English language file's sections, so the screens' built-in texts
    // can be held against the file they stand in for.
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        const QString i18n = QStringLiteral(QUICK_TEST_SOURCE_DIR "/../../modules/i18n");
        QVariantMap english;
        for (const char *section : {"main", "keyMatrix", "keyAssigment", "dpiSetting",
                                    "lightControl", "macroEditor", "systemSetting",
                                    "gunControl", "profile", "keyCode"}) {
            const QString name = QString::fromLatin1(section);
            english.insert(name, LangStrings::getLangStrings(i18n, name, QStringLiteral("English")));
        }
        engine->rootContext()->setContextProperty(QStringLiteral("englishTexts"), english);
    }
};

QUICK_TEST_MAIN_WITH_SETUP(quill_screens, Setup)

#include "tst_qml.moc"
