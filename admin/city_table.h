#pragma once

#include <QList>
#include <QString>

namespace kalmo::admin {

// A town the weather informer knows, by the name the settings page lists it under.
struct City {
    QString name;
    QString code;
};

// The towns of the settings page's city list, in list order.
const QList<City> &cityTable();

// Position of the town with this code in the table, or -1.
int cityIndexOfCode(const QString &code);

} // namespace kalmo::admin
