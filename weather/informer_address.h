#pragma once

#include <QString>
#include <QUrl>

namespace kalmo::weather {

// The weather service's XML informer, used when the settings name no other.
inline constexpr char kDefaultInformerBase[] = "http://informer.gismeteo.ru";

// base + "/xml/" + city code as written + ".xml". Trailing slashes of the base are
// dropped so that "http://host/" works too. Only http and https addresses are
// fetched; anything else gives an invalid URL.
QUrl weatherDocumentUrl(const QString &informerBase, const QString &cityCode);

} // namespace kalmo::weather
