#pragma once
// The modal error dialogs of the start-up checks; the main window uses ShowCriticalInitError
// when a required resource is missing. Every caller passes the window title as caption.

#include <string>

// Caption of the main window and of every start-up dialog.
inline constexpr const char* kSetupWindowTitle =
    "Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux";

// The dialog texts, kept apart from the dialogs so that they can be checked without a display.
std::string CriticalInitErrorText(const std::string& errorText);
std::string OSNotSupportedText(const std::string& fullName);
std::string SudoRequiredText();

// Error dialog with the single button OK; returns when the user has closed it.
void ShowErrorMessage(const std::string& caption, const std::string& text);
void ShowCriticalInitError(const std::string& caption, const std::string& errorText);
// Names the host by OSInformation's FullName (empty when there is no host record).
void ShowOSNotSupported(const std::string& caption);
void ShowSudoRequired(const std::string& caption);
