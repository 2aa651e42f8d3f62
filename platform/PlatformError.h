#pragma once
// The one error type for failures of the machine itself: a settings file that cannot be read or
// written, a text that does not fit the code page, a sound device or file that refuses. Handlers
// let it through to their boundary, which shows what() in a message box.

#include <QString>
#include <stdexcept>

class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};
