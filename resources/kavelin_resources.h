// SPDX-License-Identifier: GPL-3.0-or-later
// Resource paths of Kavelin's compiled-in pictures (see resources.qrc).
#pragma once

#include <QString>
#include <QStringView>

namespace kavelin::res {

// ":/icons/101.png" for 101; QIcon picks up the "@2x" file next to it.
QString icon(int id);

// ":/bitmaps/101.png" for 101.
QString bitmap(int id);

// Toolbar image for a button key: "Align Left" -> ":/toolbar/align-left.png".
QString toolbar(QStringView key);

}  // namespace kavelin::res
