// SPDX-License-Identifier: GPL-3.0-or-later
// A platform for the window tests that answers by itself: it records message
// boxes and answers them from a queue, answers each common dialog from its own
// queue of file names and prints to a PDF file, hands out a chosen font, and
// records the programs started and the files opened. Its registry holds the
// values given; its page displays load nothing.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QWidget>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commondialog.h"
#include "platformtools.h"
#include "registry.h"
#include "webcomponent.h"

namespace kavelin::test {

// A page display that records where it was sent and loads nothing, so that
// no web engine starts.
class FakePage : public WebComponent {
 public:
  QWidget* widget() override { return &view; }
  void Navigate(const QString& address) override { navigated << address; }
  void GoBack() override {}
  void GoForward() override {}
  void GoHome() override {}
  void GoSearch() override {}
  void Refresh() override {}
  void Stop() override {}
  bool Busy() const override { return false; }
  QString LocationName() const override { return {}; }
  QString LocationURL() const override { return {}; }
  QWidget view;
  QStringList navigated;
};

class FakePlatform : public PlatformTools {
 public:
  struct Message {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    ButtonTexts texts;
  };
  std::vector<Message> messages;
  std::deque<QMessageBox::StandardButton> replies;  // Ok once they run out

  // What one common dialog was shown with, and what it answers.
  struct Shown {
    QString kind;  // "open", "save", "print" or "pagesetup"
    QString title;
    QString filter;
    int flags;
    bool cancelError;
    QString fileName;  // the name the dialog proposed
    QString defaultExt;
    int filterIndex;  // the filter proposed
  };
  struct DialogScript {
    std::vector<Shown> shown;
    std::deque<QString> answers;  // a file name, or empty for Cancel
    QString pdf;                  // where the print dialog prints to; empty for Cancel
    std::deque<int> filters;      // the filter each answer chooses; none keeps the proposed
  };
  // The script of `dialog`, begun afresh.
  DialogScript& script(const CommonDialog& dialog) { return scripts_[&dialog] = {}; }

  // The multi-file and folder dialogs: what each was shown with ("title|folder"),
  // and its answers in turn (none, or an empty one, for Cancel).
  QStringList filesShown, foldersShown;
  std::deque<QStringList> chosenFiles;
  std::deque<QString> chosenFolders;

  std::vector<QFont> fontPresets;  // what the font dialog was shown with
  std::optional<QFont> chosenFont;

  QStringList started;
  bool startWorks = true;
  QStringList opened;
  bool openWorks = true;

  // Registry values by key and name, under HKEY_LOCAL_MACHINE.
  std::map<std::pair<std::string, std::string>, RegistryValue> registryValues;

  std::vector<QPointer<FakePage>> pages;  // those made, in order

  QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      const ButtonTexts& texts = {}) override {
    messages.push_back({icon, title, text, buttons, texts});
    if (replies.empty()) return QMessageBox::Ok;
    const QMessageBox::StandardButton reply = replies.front();
    replies.pop_front();
    return reply;
  }

  bool showOpen(CommonDialog& dialog) override { return answer("open", dialog); }
  bool showSave(CommonDialog& dialog) override { return answer("save", dialog); }
  bool showPrinter(CommonDialog& dialog) override {
    DialogScript& s = record("print", dialog);
    dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog.printer()->setOutputFileName(s.pdf);
    return !s.pdf.isEmpty();
  }
  bool showPageSetup(CommonDialog& dialog) override {
    record("pagesetup", dialog);
    return true;
  }

  QStringList chooseFiles(QWidget*, const QString& title, const QString& folder,
                          const QString&) override {
    filesShown << title + u'|' + folder;
    if (chosenFiles.empty()) return {};
    QStringList files = chosenFiles.front();
    chosenFiles.pop_front();
    return files;
  }
  QString chooseFolder(QWidget*, const QString& title, const QString& folder) override {
    foldersShown << title + u'|' + folder;
    if (chosenFolders.empty()) return {};
    QString chosen = chosenFolders.front();
    chosenFolders.pop_front();
    return chosen;
  }

  std::optional<QFont> chooseFont(QWidget*, const QFont& preset, const QString&) override {
    fontPresets.push_back(preset);
    return chosenFont;
  }

  bool startProgram(const QString& program, const QStringList& arguments) override {
    started << (arguments.isEmpty() ? program : program + u' ' + arguments.join(u' '));
    return startWorks;
  }
  bool openFile(const QString& path) override {
    opened << path;
    return openWorks;
  }

  Registry& registry() override { return registry_; }

  WebComponent* createWebComponent() override {
    auto* page = new FakePage;
    pages.emplace_back(page);
    return page;
  }

 private:
  class ValuesRegistry : public Registry {
   public:
    explicit ValuesRegistry(FakePlatform& owner) : owner_(owner) {}
    std::optional<RegistryValue> query(std::uint32_t root, const std::string& key,
                                       const std::string& name, std::uint32_t) override {
      if (root != HKEY_LOCAL_MACHINE) return std::nullopt;
      const auto found = owner_.registryValues.find({key, name});
      if (found == owner_.registryValues.end()) return std::nullopt;
      return found->second;
    }

   private:
    FakePlatform& owner_;
  };

  DialogScript& record(const QString& kind, const CommonDialog& d) {
    DialogScript& s = scripts_[&d];
    s.shown.push_back({kind, d.DialogTitle, d.Filter, d.Flags, d.CancelError, d.FileName,
                       d.DefaultExt, d.FilterIndex});
    return s;
  }
  bool answer(const QString& kind, CommonDialog& dialog) {
    DialogScript& s = record(kind, dialog);
    dialog.FileName = s.answers.empty() ? QString() : s.answers.front();
    if (!s.answers.empty()) s.answers.pop_front();
    if (!s.filters.empty()) {
      dialog.FilterIndex = s.filters.front();
      s.filters.pop_front();
    }
    return !dialog.FileName.isEmpty();
  }

  std::map<const CommonDialog*, DialogScript> scripts_;
  ValuesRegistry registry_{*this};
};

}  // namespace kavelin::test
