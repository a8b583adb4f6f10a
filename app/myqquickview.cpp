#include "app/myqquickview.h"

#include <QFocusEvent>
#include <QQuickItem>
#include <QThread>

#include "device/hid_thread.h"

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // A translucent window shows through wherever the screen draws nothing.
    setAttribute(Qt::WA_AlwaysStackOnTop);
    setClearColor(Qt::transparent);

    m_store = std::make_unique<SettingsStore>();
    initStoreState();
    isColorful = m_store->getGlobalData(QStringLiteral("mouse/isColorful")).toBool();
    isGun = m_store->getGlobalData(QStringLiteral("mouse/isGun")).toBool();
    icType = m_store->getGlobalData(QStringLiteral("mouse/icType")).toString();
    is55328 = m_store->getGlobalData(QStringLiteral("mouse/is55328")).toBool();
    initBridgeState();
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::invokeRoot(const char *function, Qt::ConnectionType type, const QVariantList &args)
{
    QQuickItem *root = rootObject();
    if (!root)
        return;
    // QML runs only on the GUI thread: calls from elsewhere are queued.
    if (type == Qt::DirectConnection && QThread::currentThread() != thread())
        type = Qt::QueuedConnection;
    auto arg = [&args](int i) { return Q_ARG(QVariant, args.at(i)); };
    switch (args.size()) {
    case 0:
        QMetaObject::invokeMethod(root, function, type);
        break;
    case 1:
        QMetaObject::invokeMethod(root, function, type, arg(0));
        break;
    case 2:
        QMetaObject::invokeMethod(root, function, type, arg(0), arg(1));
        break;
    case 4:
        QMetaObject::invokeMethod(root, function, type, arg(0), arg(1), arg(2), arg(3));
        break;
    default:
        qWarning("invokeRoot: unsupported argument count for %s", function);
    }
}

void myQQuickView::forwardKeyboard(bool isDown, uchar usbCode)
{
    invokeRoot("detectKeyboard", Qt::QueuedConnection, {QVariant(isDown), QVariant(int(usbCode))});
}

void myQQuickView::forwardMouse(bool isDown, uchar button, uint x, uint y)
{
    invokeRoot("detectMouse", Qt::QueuedConnection,
               {QVariant(isDown), QVariant(uint(button)), QVariant(x), QVariant(y)});
}

void myQQuickView::clearHidBusy()
{
    if (hidThread)
        hidThread->hidIdle = 1;
}

void myQQuickView::initUI()
{
    invokeRoot("initUI", Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    invokeRoot("run", Qt::QueuedConnection);
}

void myQQuickView::openUpdateExe()
{
}

void myQQuickView::setBusy(int busyTime)
{
    invokeRoot("setProtectUI", Qt::DirectConnection, {QVariant(busyTime)});
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    invokeRoot("setCurrentDPI", Qt::DirectConnection, {QVariant(dpiValue)});
}

void myQQuickView::focusInEvent(QFocusEvent *event)
{
    // Repaint at once so the translucent window never shows stale content.
    update();
    event->accept();
}
