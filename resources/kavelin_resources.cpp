// SPDX-License-Identifier: GPL-3.0-or-later
#include "kavelin_resources.h"

namespace kavelin::res {

QString icon(int id) { return QStringLiteral(":/icons/%1.png").arg(id); }

QString bitmap(int id) { return QStringLiteral(":/bitmaps/%1.png").arg(id); }

QString toolbar(QStringView key) {
    QString name = key.trimmed().toString().toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral(":/toolbar/%1.png").arg(name);
}

}  // namespace kavelin::res
