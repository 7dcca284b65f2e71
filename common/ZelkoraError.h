#pragma once

#include <QString>
#include <new>
#include <stdexcept>
#include <string>

namespace zelkora {

// An error that carries the exact message the user sees. Core code throws it; the window's
// event boundary and zelkora-cli's main catch it and show message().
class ZelkoraError : public std::runtime_error {
  public:
    explicit ZelkoraError(const QString& message) : std::runtime_error(message.toStdString()) {}
    explicit ZelkoraError(const std::string& message) : std::runtime_error(message) {}
    explicit ZelkoraError(const char* message) : std::runtime_error(message) {}

    QString message() const { return QString::fromUtf8(what()); }
};

// What the user is told of the exception being handled; call it inside a catch block. A
// ZelkoraError says its own message. Anything else (memory running out, a fault of the program)
// gets a fixed text: a library's own words ("basic_string_view::substr: __pos ...") mean
// nothing to the user.
inline QString messageOfCurrentError() {
    try {
        throw;
    } catch (const ZelkoraError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Не хватает памяти: действие прервано.");
    } catch (...) {
        return QStringLiteral("Непредвиденная ошибка программы: действие прервано.");
    }
}

}  // namespace zelkora
