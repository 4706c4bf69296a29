#pragma once
#include <stdexcept>
#include <string>

// A run-time error of the refresh: the number and German description that its error path shows
// ("FEHLER #11:  Division durch Null.").
struct RunError : std::runtime_error {
    int number;
    RunError(int n, const std::string& description) : std::runtime_error(description), number(n) {}
};

inline RunError OverflowError() { return {6, "Überlauf"}; }
inline RunError DivisionByZeroError() { return {11, "Division durch Null"}; }
inline RunError InvalidPictureError() { return {481, "Ungültiges Bild"}; }
