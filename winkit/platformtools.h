// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows ask of the desktop they run on: message boxes, the common
// dialogs, the font dialog, starting programs and opening files, the registry
// and the browser's page display. The program makes one (DesktopPlatform) and
// hands it to its windows; tests hand in one that answers by itself.
#pragma once

#include <QFont>
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace kavelin {

class CommonDialog;
class Registry;      // registry.h
class WebComponent;  // webcomponent.h

class PlatformTools {
 public:
  virtual ~PlatformTools() = default;

  // Captions that replace the standard ones of some buttons, such as "&Save"
  // with its access key.
  using ButtonTexts = QList<QPair<QMessageBox::StandardButton, QString>>;

  // Shows a modal message box and returns the button the user chose.
  virtual QMessageBox::StandardButton message(
      QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
      QMessageBox::StandardButtons buttons = QMessageBox::Ok, const ButtonTexts& texts = {}) = 0;

  // The dialogs of `dialog`, shown with its title, filter, file name, default
  // extension and flags; each returns false when the user cancels. Open and
  // save leave the chosen name in its FileName (empty on cancel); print and
  // page setup set up its printer.
  virtual bool showOpen(CommonDialog& dialog) = 0;
  virtual bool showSave(CommonDialog& dialog) = 0;
  virtual bool showPrinter(CommonDialog& dialog) = 0;
  virtual bool showPageSetup(CommonDialog& dialog) = 0;

  // An open dialog in which several files may be chosen, starting in `folder`:
  // the files chosen, none when the user cancels. `filter` is as Qt takes it.
  virtual QStringList chooseFiles(QWidget* parent, const QString& title, const QString& folder,
                                  const QString& filter) = 0;
  // A folder chosen, starting in `folder`; empty when the user cancels.
  virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& folder) = 0;

  // The font dialog showing `preset`: the chosen font, or nothing when the
  // user leaves it without choosing.
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& preset,
                                          const QString& title) = 0;

  // Starts `program` on its own; false when it does not start.
  virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
  // Opens a file in the desktop's application for it; false when nothing could.
  virtual bool openFile(const QString& path) = 0;

  // Where the system-information tool is looked up.
  virtual Registry& registry() = 0;
  // A new page display for a browser window, which takes it over.
  virtual WebComponent* createWebComponent() = 0;
};

}  // namespace kavelin
