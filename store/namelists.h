#pragma once

#include <QStringList>
#include <QVariant>

// The four name lists of name.bin (macros, guns, profiles, reserved). A list
// of one entry would be read back as a plain text, so it is stored with the
// marker "loaderzentic" appended; readers drop it.
class NameLists
{
public:
    // path is "./modules/setting/name.bin" in the program.
    explicit NameLists(const QString &path);

    static QString marker() { return QStringLiteral("loaderzentic"); }
    // The key of list type 0..3, or an empty text for any other type.
    static QString keyOf(const QVariant &type);

    // True unless name.bin could not be written (it is then left as it was).
    bool updataNameList(const QVariant &type, const QStringList &nameList);
    QVariantList getNameList(const QVariant &type) const;

private:
    QString m_path;
};
