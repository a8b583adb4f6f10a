// Placeholder bodies until the store operations land; none claims success.
#include "app/myqquickview.h"

void myQQuickView::initStoreState() {}

void myQQuickView::resetApconfig()
{
}

bool myQQuickView::loadMacroFile(QVariant /*macroFileName*/)
{
    return {};
}

void myQQuickView::saveMacroFile(QVariant /*macroFileName*/)
{
}

bool myQQuickView::loadProfile(int /*profile*/)
{
    return {};
}

void myQQuickView::saveProfile(int /*profile*/)
{
}

void myQQuickView::resetProfile(int /*profile*/)
{
}

void myQQuickView::copyProfile(int /*destprofile*/, int /*srcprofile*/)
{
}

QStringList myQQuickView::getLangStrings(QString /*typeStr*/, QString /*langCode*/)
{
    return {};
}

QVariant myQQuickView::createMacroIni(QVariant /*name*/, QVariant /*macroIndex*/)
{
    return {};
}

QVariant myQQuickView::updataNameList(QVariant /*type*/, QStringList /*nameList*/)
{
    return {};
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant /*oldname*/, QVariant /*newname*/)
{
    return {};
}

void myQQuickView::deleteMacroUpdateProfile(QVariant /*macroName*/)
{
}

QVariant myQQuickView::deleteMacroIni(QVariant /*name*/)
{
    return {};
}

QVariantList myQQuickView::getNameList(QVariant /*type*/)
{
    return {};
}

QVariant myQQuickView::saveMacroIni(QVariant /*name*/, QStringList /*macros*/, QVariant /*repeat*/)
{
    return {};
}

QStringList myQQuickView::loadMacroIni(QVariant /*name*/)
{
    return {};
}

void myQQuickView::mouseSaveGundata(QVariant /*index*/, QVariantList /*src6*/)
{
}

void myQQuickView::modifyGundata(QVariant /*modifyType*/, QVariantList /*src6*/)
{
}

QVariantList myQQuickView::getGunData(QVariant /*name*/)
{
    return {};
}

QStringList myQQuickView::getGunDataKey()
{
    return {};
}

QVariant myQQuickView::getXYSensitive(QVariant /*index*/)
{
    return {};
}

QVariant myQQuickView::getselectGun(QVariant /*index*/)
{
    return {};
}

void myQQuickView::setXYSensitive(QVariant /*index*/, QVariant /*xyData*/)
{
}

void myQQuickView::setSelectGun(QVariant /*index*/, QVariant /*xyData*/)
{
}

void myQQuickView::setCurrentProfile(int /*profile*/)
{
}

QVariant myQQuickView::getData(QVariant /*key*/, bool /*isRecovery*/)
{
    return {};
}

QVariant myQQuickView::getGlobalData(QVariant /*key*/)
{
    return {};
}

QVariantList myQQuickView::getDataList(QVariant /*key*/, bool /*isRecovery*/)
{
    return {};
}

void myQQuickView::setData(QVariant /*key*/, QVariant /*data*/)
{
}

void myQQuickView::setGlobalData(QVariant /*key*/, QVariant /*tmpdata*/)
{
}

void myQQuickView::setDataList(QVariant /*key*/, QVariantList /*datalist*/)
{
}
