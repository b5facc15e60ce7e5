#include "messages.h"

namespace kavelin::messages {
namespace {

Handler& handler() {
  static Handler h;
  return h;
}

}  // namespace

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                 const QString& text, QMessageBox::StandardButtons buttons) {
  if (handler()) return handler()(parent, icon, title, text, buttons);
  QMessageBox box(icon, title, text, buttons, parent);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setHandler(Handler h) { handler() = std::move(h); }

}  // namespace kavelin::messages
