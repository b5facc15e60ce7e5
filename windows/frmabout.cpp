// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmabout.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "forms.h"
#include "glyphfont.h"
#include "kavelin_resources.h"
#include "platformtools.h"
#include "registry.h"

#ifndef KAVELIN_DESCRIPTION
#define KAVELIN_DESCRIPTION ""
#endif

namespace kavelin {
namespace {

QLabel* picture(QWidget* parent, int left, int top, int width, int height) {
  auto* label = new QLabel(parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(label, left, top, width, height);
  return label;
}

}  // namespace

frmAbout::frmAbout(PlatformTools& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  useDialogFrame(this);
  setFixedSize(px(5790), px(4665));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8);
  setFont(font);

  picIcon = picture(this, 240, 240, 540, 540);
  lblTitle = new QLabel(tr("Application Title"), this);
  place(lblTitle, 1050, 240, 3885, 240);
  QFont title = font;
  title.setPointSizeF(10);
  title.setBold(true);
  lblTitle->setFont(title);
  lblVersion = new QLabel(tr("Version"), this);
  place(lblVersion, 1050, 480, 3885, 225);
  lblDescription = new QLabel(tr("App Description"), this);
  place(lblDescription, 1080, 720, 3885, 210);
  Picture1 = picture(this, 720, 960, 2295, 1335);
  Picture2 = picture(this, 3000, 960, 2295, 1335);
  Picture3 = picture(this, 720, 2280, 4575, 615);
  lblFont = new QLabel(this);
  lblFont->setObjectName(QStringLiteral("lblFont"));
  lblFont->setWordWrap(true);
  lblFont->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(lblFont, 240, 3120, 3960, 600);
  lblWords = new QLabel(this);
  lblWords->setObjectName(QStringLiteral("lblWords"));
  lblWords->setWordWrap(true);
  lblWords->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(lblWords, 240, 3720, 3960, 390);
  lblLicence = new QLabel(this);
  lblLicence->setObjectName(QStringLiteral("lblLicence"));
  lblLicence->setWordWrap(true);
  lblLicence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(lblLicence, 240, 4110, 3960, 480);
  cmdOK = new QPushButton(tr("OK"), this);
  place(cmdOK, 4320, 3720, 1380, 345);
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(tr("&System Info..."), this);
  place(cmdSysInfo, 4320, 4200, 1365, 345);

  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load() {
  const QIcon icon(res::icon(101));
  picIcon->setPixmap(icon.pixmap(32, 32));
  setWindowIcon(icon);
  setWindowTitle(tr("About ") + QCoreApplication::applicationName());
  const QStringList version = QCoreApplication::applicationVersion().split(u'.');
  lblVersion->setText(tr("Version %1.%2.%3")
                          .arg(version.value(0, QStringLiteral("0")),
                               version.value(1, QStringLiteral("0")),
                               version.value(2, QStringLiteral("0"))));
  lblTitle->setText(QCoreApplication::applicationName());
  lblDescription->setText(QStringLiteral(KAVELIN_DESCRIPTION));
  lblFont->setText(glyphFontDescription());
  lblLicence->setText(
      tr("Free software under the GNU GPL, version 3 or later (GPL-3.0-or-later). "
         "There is no warranty."));
  for (auto [box, id] : {std::pair{Picture1, 101}, {Picture2, 102}, {Picture3, 103}}) {
    // A picture larger than its box is shown whole, scaled down.
    QPixmap pixmap(res::bitmap(id));
    if (pixmap.width() > box->width() || pixmap.height() > box->height()) {
      pixmap = pixmap.scaled(box->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    box->setPixmap(pixmap);
  }
}

void frmAbout::setWordLists(const QString& summary) {
  lblWords->setText(summary.isEmpty() ? tr("Word lists for the suggestions: still loading.")
                                      : tr("Word lists: %1.").arg(summary));
  // A summary longer than its place gets more lines: the licence and the
  // window's bottom move down with it.
  const int extra = lblWords->heightForWidth(lblWords->width()) - lblWords->height();
  if (extra > 0) {
    lblWords->resize(lblWords->width(), lblWords->height() + extra);
    lblLicence->move(lblLicence->x(), lblLicence->y() + extra);
    setFixedSize(width(), height() + extra);
  }
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() {
  const bool started = StartSysInfo(
      platform_.registry(),
      [this](const std::string& path) {
        return platform_.startProgram(QString::fromStdString(path), {});
      },
      [](const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); });
  if (!started) {
    platform_.message(this, QMessageBox::NoIcon, windowTitle(),
                      tr("System Information Is Unavailable At This Time"));
  }
}

// The etched rule: a grey line with a white one below it.
void frmAbout::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  QPainter painter(this);
  const int y = px(3000);
  painter.setPen(QPen(QColor(128, 128, 128), 1));
  painter.drawLine(px(90), y, px(5654), y);
  painter.setPen(QPen(Qt::white, 2));
  painter.drawLine(px(105), y + 1, px(5654), y + 1);
}

}  // namespace kavelin
