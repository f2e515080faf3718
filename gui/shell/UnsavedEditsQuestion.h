#pragma once
// "Save carset / Export / Discard / Cancel": the question before edits that
// are neither exported nor saved would be lost.

#include "AppContext.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace pitwall::gui {

std::unique_ptr<QMessageBox> MakeUnsavedEditsQuestion(const UITexts& texts, QWidget* parent);

// Shows the question and returns the answer (Escape and closing: Cancel).
AppContext::EditsAnswer AskAboutUnsavedEdits(const UITexts& texts, QWidget* parent);

} // namespace pitwall::gui
