#pragma once

#include <QString>
#include <stdexcept>
#include <string>

// An error that carries the exact message the user sees. Core code throws it; the window's
// event boundary and zelkora-cli's main catch it and show message().
class ZelkoraError : public std::runtime_error {
  public:
    explicit ZelkoraError(const QString& message) : std::runtime_error(message.toStdString()) {}
    explicit ZelkoraError(const std::string& message) : std::runtime_error(message) {}
    explicit ZelkoraError(const char* message) : std::runtime_error(message) {}

    QString message() const { return QString::fromUtf8(what()); }
};
