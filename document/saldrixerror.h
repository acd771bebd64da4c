#pragma once

#include <QString>
#include <exception>

// A failure that carries the text shown to the user. Deep code throws it; each command catches it
// at its boundary and hands the message to the default error display.
class SaldrixError : public std::exception {
public:
    explicit SaldrixError(QString message)
        : m_message(std::move(message))
        , m_what(m_message.toLocal8Bit())
    {
    }

    [[nodiscard]] const QString &message() const noexcept { return m_message; }
    [[nodiscard]] const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};
