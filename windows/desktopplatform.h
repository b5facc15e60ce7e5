// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop the program runs on: Qt's message boxes and dialogs, detached
// processes, the desktop's file handlers, this system's registry and the
// Qt WebEngine page display.
#pragma once

#include "platformtools.h"

namespace kavelin {

class DesktopPlatform : public PlatformTools {
 public:
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      const ButtonTexts& texts = {}) override;
  bool showOpen(CommonDialog& dialog) override;
  bool showSave(CommonDialog& dialog) override;
  bool showPrinter(CommonDialog& dialog) override;
  bool showPageSetup(CommonDialog& dialog) override;
  QStringList chooseFiles(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter) override;
  QString chooseFolder(QWidget* parent, const QString& title, const QString& folder) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& preset,
                                  const QString& title) override;
  bool startProgram(const QString& program, const QStringList& arguments) override;
  bool openFile(const QString& path) override;
  Registry& registry() override;
  WebComponent* createWebComponent() override;
};

}  // namespace kavelin
