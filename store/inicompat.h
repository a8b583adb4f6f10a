#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

// Access to the program's INI files. The files follow the QSettings INI form
// of the original Qt 4 program (non-ASCII as \x escapes, one-value lists as
// @Variant(...), empty lists as @Invalid()); these helpers keep reading and
// writing them the same way.
namespace IniCompat {

std::unique_ptr<QSettings> open(const QString &path);

QVariant value(const QSettings &store, const QString &key,
               const QVariant &defaultValue = QVariant());
void setValue(QSettings &store, const QString &key, const QVariant &value);

// A stored list as a list; a single plain value or nothing is an empty list.
QVariantList toList(const QVariant &value);

} // namespace IniCompat
