#pragma once

#include <QString>

// The two controller families. The choice is made anew on every operation
// from the configured IC type text, so a changed configuration takes effect
// without rebuilding anything.
enum class CommandFamily { F553, F560 };

// Exactly "560" selects the 560 family; every other text the 553 family.
inline CommandFamily familyForIcType(const QString &icType)
{
    return icType == QLatin1String("560") ? CommandFamily::F560 : CommandFamily::F553;
}

// What the bridge needs to know about the connected model.
struct DeviceFacts
{
    QString icType;
    bool isColorful = false;
    bool isGun = false;
    bool is55328 = false;

    CommandFamily family() const { return familyForIcType(icType); }
};
