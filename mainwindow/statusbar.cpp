// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusbar.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include "forms.h"

#if __has_include(<X11/XKBlib.h>) && defined(KAVELIN_HAVE_X11)
#include <X11/XKBlib.h>
#include <qguiapplication_platform.h>
#define KAVELIN_X11_LOCKS 1
#endif

namespace kavelin {
namespace {

QLabel* makePanel(QWidget* parent, const QString& text, int width, int minimum) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setContentsMargins(4, 0, 4, 0);
  label->setMinimumWidth(px(minimum));
  label->resize(px(width), label->height());
  return label;
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  panels_[0] = makePanel(this, idleText(), 4410, 3000);
  panels_[1] = makePanel(this, QStringLiteral("CAPS"), 2110, 700);
  panels_[2] = makePanel(this, QStringLiteral("NUM"), 2110, 700);
  panels_[3] = makePanel(this, QString(), 1440, 1440);
  panels_[4] = makePanel(this, QString(), 1440, 1440);
  panels_[1]->setAlignment(Qt::AlignCenter);
  panels_[2]->setAlignment(Qt::AlignCenter);
  panels_[3]->setAlignment(Qt::AlignCenter);
  panels_[4]->setAlignment(Qt::AlignCenter);
  addWidget(panels_[0], 4410);
  addWidget(panels_[1], 2110);
  addWidget(panels_[2], 2110);
  addWidget(panels_[3], 1440);
  addWidget(panels_[4], 1440);
  timer_ = new QTimer(this);
  timer_->setInterval(250);
  connect(timer_, &QTimer::timeout, this, &StatusBar::refresh);
  timer_->start();
  refresh();
  reportTimer_ = new QTimer(this);
  reportTimer_->setObjectName(QStringLiteral("reportTimer"));
  reportTimer_->setSingleShot(true);
  reportTimer_->setInterval(kReportMs);
  connect(reportTimer_, &QTimer::timeout, this, &StatusBar::clearReport);
}

QString StatusBar::idleText() { return tr("Ready"); }

void StatusBar::showReport(const QString& text) {
  panels_[0]->setText(text);
  reportTimer_->start();
}

void StatusBar::clearReport() {
  reportTimer_->stop();
  panels_[0]->setText(idleText());
}

void StatusBar::refresh() {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale;
  panels_[3]->setText(locale.toString(now.date(), QLocale::ShortFormat));
  panels_[4]->setText(locale.toString(now.time(), QLocale::ShortFormat));
  const std::optional<Locks> locks = keyboardLocks();
  panels_[1]->setEnabled(locks && locks->caps);
  panels_[2]->setEnabled(locks && locks->num);
}

std::optional<StatusBar::Locks> StatusBar::keyboardLocks() {
#ifdef KAVELIN_X11_LOCKS
  if (auto* x11 =
          qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
    if (Display* display = x11->display()) {
      XkbStateRec state{};
      if (XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
        return Locks{(state.locked_mods & LockMask) != 0, (state.locked_mods & Mod2Mask) != 0};
      }
    }
  }
#endif
  return std::nullopt;
}

}  // namespace kavelin
