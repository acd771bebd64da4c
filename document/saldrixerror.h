// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <exception>
#include <functional>

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

// The one error boundary: runs the work and hands the message of a SaldrixError, or of any other
// std::exception, to report. True when the work ran to its end. Nothing is thrown out of it, so it
// may stand in a slot, a close handler or a destructor.
bool catchErrors(const std::function<void()> &work, const std::function<void(const QString &)> &report);
