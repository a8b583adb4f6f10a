#include "app/myqquickview.h"

#include <QAbstractEventDispatcher>
#include <QBackingStore>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QResizeEvent>
#include <QSGRendererInterface>
#include <QThread>
#include <QTimer>

#include "app/freememory.h"
#include "app/quickdefaults.h"
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

    m_unloadTimer.setSingleShot(true);
    m_unloadTimer.setInterval(kUnloadDelayMs);
    connect(&m_unloadTimer, &QTimer::timeout, this, &myQQuickView::unloadScreens);
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
    // The token belongs to the device thread: freed in its turn.
    if (Hid_Thread *h = hidThread)
        h->queue().post([h] { h->hidIdle = 1; });
}

void myQQuickView::setDeviceBusy(bool busy)
{
    if (busy == m_deviceBusy)
        return;
    m_deviceBusy = busy;
    emit deviceBusyChanged(busy);
}

void myQQuickView::initUI()
{
    // Without screens the initialisation waits for them.
    if (m_unloaded)
        m_initPending = true;
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

namespace {
// Freed memory worth handing back while hidden.
constexpr long kIdleReturnBytes = 256 * 1024;
}

void myQQuickView::hideEvent(QHideEvent *event)
{
    // The screen sees its window hidden here and lets its pictures go.
    QQuickWidget::hideEvent(event);
    m_hidden = true;
    // The rest after the event loop turns: the hide may come from within a
    // screen handler, where the scene must not be synchronised.
    if (!m_releaseQueued) {
        m_releaseQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_releaseQueued = false;
            if (m_hidden)
                releaseDrawing();
        }, Qt::QueuedConnection);
    }
}

void myQQuickView::releaseDrawing()
{
    QQuickWindow *scene = quickWindow();
    // The pictures the screen let go leave the picture cache ...
    if (scene)
        scene->releaseResources();
    QSGRendererInterface *renderer = scene ? scene->rendererInterface() : nullptr;
    if (renderer && renderer->graphicsApi() == QSGRendererInterface::Software && !m_frameDropped) {
        // ... one pass over the scene drops their drawn copies (nothing is
        // drawn while hidden otherwise) ...
        grabFramebuffer();
        // ... and the view's frame, the size of the whole screen, goes too.
        m_frameDropped = QMetaObject::invokeMethod(this, "destroyFramebufferObject");
        // So does the window's copy of what it showed: the window paints
        // itself whole into a buffer of its size again when next shown.
        QWidget *top = window();
        if (!top->isVisible() && top->backingStore())
            top->backingStore()->resize(QSize(1, 1));
    }
    if (QQmlEngine *qml = engine())
        qml->collectGarbage();
    // What was deleted later is gone at the next turn of the event loop;
    // then the allocator hands the freed memory back.
    QTimer::singleShot(0, this, [this] {
        if (!m_hidden)
            return;
        freememory::returnToSystem();
        // Work done while hidden (a mouse plugged in again, a balloon)
        // frees memory too: it goes back whenever the program waits again.
        if (!m_idleReturn) {
            m_idleReturn = connect(QAbstractEventDispatcher::instance(thread()),
                                   &QAbstractEventDispatcher::aboutToBlock, this,
                                   [] { freememory::returnToSystemIfGrown(kIdleReturnBytes); });
        }
        emit drawingReleased();
        // Put away in the tray (not just minimised): the screens go later.
        if (!window()->isVisible())
            m_unloadTimer.start();
    });
}

void myQQuickView::unloadScreens()
{
    QQuickItem *root = rootObject();
    if (!m_hidden || window()->isVisible() || !root)
        return;
    // Kept while anything would be lost: unsaved changes, an open dialog,
    // a busy lock; and never from inside a screen handler still running
    // (a device command waits in a nested event loop).
    if (root->property("anyUnsaved").toBool() || root->property("dialogOpen").toBool())
        return;
    if (!isEnabled() || (hidThread && !hidThread->hidIdle) || QThread::currentThread()->loopLevel() > 1) {
        m_unloadTimer.start();
        return;
    }
    qDebug("Screens let go while in the tray");
    m_wasInitialised = root->property("isPownOn").toBool();
    m_screenSource = source();
    m_unloaded = true;
    setSource(QUrl());
    if (QQmlEngine *qml = engine()) {
        qml->trimComponentCache();
        qml->collectGarbage();
    }
    QTimer::singleShot(0, this, [this] {
        if (m_unloaded)
            freememory::returnToSystem();
        emit screensLetGo();
    });
}

void myQQuickView::rebuildScreens()
{
    // How long the user waits for the screen (bench_idle reads the line).
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    quickdefaults::reportFirstFrame(this, [clock](const QString &) {
        qDebug().noquote() << QStringLiteral("Screens built again, first frame after %1 ms")
                                  .arg(double(clock->nsecsElapsed()) / 1e6, 0, 'f', 1);
    });
    m_unloaded = false;
    setSource(m_screenSource);
    if (m_wasInitialised) {
        invokeRoot("rebuildUI", Qt::DirectConnection);
    } else if (m_initPending) {
        invokeRoot("initUI", Qt::QueuedConnection);
    }
    m_initPending = false;
}

void myQQuickView::showEvent(QShowEvent *event)
{
    m_hidden = false;
    disconnect(m_idleReturn);
    m_idleReturn = {};
    m_unloadTimer.stop();
    if (m_unloaded)
        rebuildScreens();
    // The screen takes its pictures back here ...
    QQuickWidget::showEvent(event);
    if (m_frameDropped) {
        // ... and the frame is made and drawn now, before anything paints
        // it, as on the first show.
        m_frameDropped = false;
        QResizeEvent again(size(), size());
        QQuickWidget::resizeEvent(&again);
    }
}
