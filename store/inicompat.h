#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

// Access to the program's INI files, all in QSettings's INI form. Files in the
// Qt 4 form (non-ASCII as \x escapes, one-value lists as @Variant(...), empty
// lists as @Invalid(), quoted texts) read back as they were written; new
// non-ASCII text is written as UTF-8, which reads back the same.
namespace IniCompat {

std::unique_ptr<QSettings> open(const QString &path);

// A stored list as a list; a single plain value or nothing is an empty list.
QVariantList toList(const QVariant &value);

} // namespace IniCompat
