#include "uMain.h"

TfrmMain::TfrmMain() {
  set_title("Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux");
  set_default_size(800, 600);
}
