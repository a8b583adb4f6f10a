#include "store/filedialogs.h"

#include <QStandardPaths>

namespace DialogTexts {

QString startFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace DialogTexts
