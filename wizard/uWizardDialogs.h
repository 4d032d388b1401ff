#pragma once
// The modal message dialogs the wizard shows (error, question), in one place.

#include <string>

namespace wizard_dialogs {

enum class TQuestionType { Confirmation, Warning };

// Error dialog with an OK button; returns when it is closed.
void ShowError(const std::string& caption, const std::string& text);

// Yes/No question; true exactly when Yes was pressed (closing the dialog otherwise is No).
bool AskYesNo(const std::string& caption, const std::string& text,
              TQuestionType type = TQuestionType::Confirmation);

// The start-up's critical error dialog: "Критическая ошибка при инициализации приложения:\n" +
// text + "\nПриложение будет закрыто!".
void ShowCriticalInitError(const std::string& caption, const std::string& errorText);

} // namespace wizard_dialogs
