#pragma once
#include <QString>

#include <functional>

#include "model/progress.h"

class QWidget;

namespace quillet {

// Runs long work on a thread of its own while the window stays responsive: it repaints, but
// the person's input is held back until the work ends. After half a second a progress box
// shows how far the work is, with Cancel. Whatever the work throws is thrown again here.
void runWithProgressBox(QWidget* parent, const QString& title, const std::function<void(Progress&)>& work);

}  // namespace quillet
