// SPDX-License-Identifier: GPL-3.0-or-later
// What every window of the program shares: design units (twips), placing a
// control at its design rectangle, steps that stand alone, and strings between
// Qt and the engine.
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

namespace kavelin {

// 15 twips a pixel (96 dots per inch).
constexpr int kTwipsPerPixel = 15;
inline int px(double twips) { return static_cast<int>(twips / kTwipsPerPixel); }
inline double twips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

// Places a control at its design rectangle, given in twips.
inline void place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(px(left), px(top), px(width), px(height));
}

// Gives a dialog the title bar of a dialog: its title and a close button, no
// minimise or maximise button, whatever the platform's defaults would add.
// (Window managers that ignore these hints, such as openbox for minimise,
// still decide for themselves.) A fixed-size dialog stays so.
inline void useDialogFrame(QWidget* dialog) {
  const Qt::WindowFlags keep = dialog->windowFlags() & Qt::MSWindowsFixedSizeDialogHint;
  dialog->setWindowFlags(keep | Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

// Runs one step of a procedure whose steps stand alone: a failing step is
// skipped and the next one runs.
template <typename Step>
void standAlone(Step step) {
  try {
    step();
  } catch (...) {
  }
}

inline QString qstr(std::u16string_view s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The string's UTF-16 code units, valid while it lives unchanged.
inline std::u16string_view uview(const QString& s) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                             static_cast<std::size_t>(s.size()));
}

inline std::u16string ustr(const QString& s) { return std::u16string(uview(s)); }

// A QString over the characters without a copy, valid while they live unchanged.
inline QString qview(std::u16string_view s) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(s.data()),
                              static_cast<qsizetype>(s.size()));
}

}  // namespace kavelin
