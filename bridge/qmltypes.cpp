#include "bridge/qmltypes.h"

#include <QQmlEngine>

#include "bridge/macroimage.h"

namespace qmltypes {

void registerTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    // One codec per engine; the engine owns it.
    qmlRegisterSingletonType<MacroImageCodec>(Uri, VersionMajor, VersionMinor, "MacroImageCodec",
        [](QQmlEngine *, QJSEngine *) -> QObject * { return new MacroImageCodec; });
}

} // namespace qmltypes
