// The one kind of failure the program raises itself: it carries an Italian text meant to be shown to
// the user as it is. Each subsystem names its own failures by deriving from it, so a caller can catch
// the ones it handles by type and a top-level handler can catch them all here.
#pragma once

#include <QString>

#include <stdexcept>

class LumiveraError : public std::runtime_error {
public:
    explicit LumiveraError(const QString& text);
    ~LumiveraError() override;
    LumiveraError(const LumiveraError&) = default;
    LumiveraError& operator=(const LumiveraError&) = default;

    // The text for the user; what() gives the same text in UTF-8.
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
