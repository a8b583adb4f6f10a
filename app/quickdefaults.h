#pragma once

#include <QString>
#include <functional>

class QProcessEnvironment;
class QQuickWidget;

namespace quickdefaults {

// True when the environment names a Qt Quick backend or graphics API: the
// user's choice then stands.
bool backendChosen(const QProcessEnvironment &env);

// Makes Qt Quick's software renderer the default unless the user chose a
// backend. The screens need no GPU effect, and an idle tray program keeps a
// fraction of the memory without an OpenGL context. Call before the first
// Quick window is made; returns whether the software renderer was chosen.
bool useSoftwareUnlessChosen();

// Reports once, "First frame (<renderer>)", when `view` has painted its
// first frame with its root item visible: the screen as the user first sees
// it. Without `report` the line goes to the debug output.
void reportFirstFrame(QQuickWidget *view, std::function<void(const QString &)> report = {});

} // namespace quickdefaults
