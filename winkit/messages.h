// Message boxes. Every message the program shows goes through show(), so that
// tests can answer them instead of a person.
#pragma once

#include <QMessageBox>
#include <functional>

namespace kavelin::messages {

using Handler = std::function<QMessageBox::StandardButton(
    QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons)>;

// Shows a modal message box and returns the button the user chose.
QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                 const QString& text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the message box (an empty handler restores it).
void setHandler(Handler handler);

}  // namespace kavelin::messages
