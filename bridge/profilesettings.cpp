#include "bridge/profilesettings.h"

#include "store/settingsstore.h"

QVariantList StoreProfileSettings::list(const QString &key, bool fromDefaults) const
{
    if (!m_store)
        return {};
    return m_store->getDataList(key, fromDefaults);
}

void StoreProfileSettings::setList(const QString &key, const QVariantList &values)
{
    if (m_store)
        m_store->setDataList(key, values);
}
