#include "platform/errors.h"

#include <utility>

// Not inlined, so the return address is the raising code's.
__attribute__((noinline)) Error::Error(const char* kind, std::string message)
    : kind_(kind),
      message_(std::move(message)),
      raise_address_(__builtin_extract_return_addr(__builtin_return_address(0))) {}

EInOutError::EInOutError(int error_number)
    : Error("EInOutError", MessageFor(error_number)), error_number_(error_number) {}

std::string EInOutError::MessageFor(int error_number) {
  switch (error_number) {
    case 2: return "Datei nicht gefunden";
    case 3: return "Ungültiger Dateiname";
    case 4: return "Zu viele geöffnete Dateien";
    case 5: return "Dateizugriff verweigert";
    case 100: return "Versuch hinter dem Dateiende zu lesen";
    case 101: return "Zu wenig Speicherplatz";
    case 106: return "Ungültige numerische Eingabe";
    default: return "E/A-Fehler " + std::to_string(error_number);
  }
}
