#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <set>

#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"

namespace zelkora {

// A usage mistake on the command line; main prints the message and the usage.
class UsageError : public ZelkoraError {
  public:
    using ZelkoraError::ZelkoraError;
};

// The arguments of one command: "--name value" options, "--flag" switches and positionals.
// A word that reads as a number ("-169.65") is always a positional, never an option.
class CliArgs {
  public:
    CliArgs(const QStringList& args, const std::set<QString>& valued,
            const std::set<QString>& flags);

    bool has(const QString& name) const;
    QString value(const QString& name, const QString& fallback = {}) const;
    // The option's value as an integer; UsageError when it is not one or lies outside min..max.
    int intValue(const QString& name, int fallback, int min, int max) const;
    // A required option's value; UsageError when it is missing.
    QString required(const QString& name) const;
    const QStringList& positional() const { return positional_; }

    // The map index of a required --map 0|1.
    int mapIndex() const;
    // --layers as five 0/1 flags, the start-up state when absent.
    std::array<bool, kLayerCount> layers() const;
    // --data DIR with a trailing "/", or the program folder.
    QString dataDir() const;

  private:
    std::map<QString, QString> values_;
    std::set<QString> flags_;
    QStringList positional_;
};

// A number given on the command line, "." as the separator; UsageError otherwise.
double parseNumberArg(const QString& text, const QString& what);

}  // namespace zelkora
