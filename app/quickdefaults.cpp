#include "app/quickdefaults.h"

#include <QDebug>
#include <QEvent>
#include <QPointer>
#include <QProcessEnvironment>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>

namespace quickdefaults {

bool backendChosen(const QProcessEnvironment &env)
{
    // QMLSCENE_DEVICE is the older name of QT_QUICK_BACKEND; QSG_RHI_BACKEND
    // picks a GPU API.
    for (const char *name : {"QT_QUICK_BACKEND", "QMLSCENE_DEVICE", "QSG_RHI_BACKEND"}) {
        if (!env.value(QLatin1String(name)).isEmpty())
            return true;
    }
    return false;
}

bool useSoftwareUnlessChosen()
{
    if (backendChosen(QProcessEnvironment::systemEnvironment()))
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}

namespace {

QString rendererName(QQuickWindow *window)
{
    QSGRendererInterface *ri = window ? window->rendererInterface() : nullptr;
    switch (ri ? ri->graphicsApi() : QSGRendererInterface::Unknown) {
    case QSGRendererInterface::Software:
        return QStringLiteral("software");
    case QSGRendererInterface::OpenGL:
        return QStringLiteral("opengl");
    case QSGRendererInterface::Vulkan:
        return QStringLiteral("vulkan");
    default:
        return QStringLiteral("other");
    }
}

// A frame counts once the scene graph has rendered it with the root visible
// (a hidden root renders an empty, transparent frame) and the widget has
// then painted it; the report waits for the event loop, after the window's
// contents went to the screen.
class FirstFrameProbe : public QObject
{
public:
    FirstFrameProbe(QQuickWidget *view, std::function<void(const QString &)> report)
        : QObject(view), m_view(view), m_report(std::move(report))
    {
        connect(view->quickWindow(), &QQuickWindow::afterRendering, this, [this] {
            const QQuickItem *root = m_view->rootObject();
            m_rendered = m_rendered || (root && root->isVisible());
        }, Qt::DirectConnection);
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_view && event->type() == QEvent::Paint && m_rendered && !m_done) {
            m_done = true;
            m_view->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                const QString line = QStringLiteral("First frame (%1)").arg(rendererName(m_view->quickWindow()));
                if (m_report)
                    m_report(line);
                else
                    qDebug().noquote() << line;
                deleteLater();
            });
        }
        return false;
    }

private:
    QQuickWidget *m_view;
    std::function<void(const QString &)> m_report;
    bool m_rendered = false;
    bool m_done = false;
};

} // namespace

void reportFirstFrame(QQuickWidget *view, std::function<void(const QString &)> report)
{
    if (view)
        new FirstFrameProbe(view, std::move(report));
}

} // namespace quickdefaults
