#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace qv {

// An error from a file, an archive or the record store. Its text is exactly
// what the user will see; the command that catches it may add its own ending.
class Error : public std::exception {
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace qv
