// The Qt side of the input hooks: the application-wide native event filter
// that hands WM_COPYDATA to the registered callback, and the bounded reading
// of the text such a message carries.

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include "app/inputhook_core.h"

namespace InputHook {

namespace {

class CopyDataFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
#ifdef Q_OS_WIN
        if (eventType != "windows_generic_MSG" || !message)
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        std::intptr_t answer = 0;
        if (!dispatchNativeMessage(msg->message, reinterpret_cast<const CopyData *>(msg->lParam), &answer))
            return false;
        if (result)
            *result = answer;
        return true;
#else
        // Other platforms have no WM_COPYDATA.
        Q_UNUSED(eventType);
        Q_UNUSED(message);
        Q_UNUSED(result);
        return false;
#endif
    }
};

CopyDataFilter *filterInstalledOn(QCoreApplication *app)
{
    static CopyDataFilter filter;
    static QCoreApplication *installedOn = nullptr;
    if (app && installedOn != app) {
        app->installNativeEventFilter(&filter);
        installedOn = app;
    }
    return &filter;
}

} // namespace

void setCopyDataCallback(CopyDataCallback callback, QCoreApplication *app, void *context)
{
    storeCopyDataCallback(callback, context);
    filterInstalledOn(app);
}

bool copyDataText(const CopyData *data, QString *out)
{
    if (!data || !out)
        return false;
    const qsizetype size = qsizetype(data->cbData);
    if (size > 0 && !data->lpData)
        return false;
    // Never read past the sender's cbData bytes: the text ends at the first
    // NUL inside them or at their end.
    const char *bytes = static_cast<const char *>(data->lpData);
    const qsizetype length = size > 0 ? qsizetype(qstrnlen(bytes, size_t(size))) : 0;
    const QString text = QString::fromUtf8(bytes, length);
    if (text.toUtf8().size() != size)
        return false;
    *out = text;
    return true;
}

} // namespace InputHook
