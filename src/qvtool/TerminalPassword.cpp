#include "TerminalPassword.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace qv::tool {

std::optional<QString> environmentPassword()
{
    if (!qEnvironmentVariableIsSet("QV_PASSWORD"))
        return std::nullopt;
    return qEnvironmentVariable("QV_PASSWORD");
}

std::optional<QString> askPassword(const QString &prompt)
{
    FILE *tty = std::fopen("/dev/tty", "r+");
    if (!tty)
        return std::nullopt;
    std::fputs((prompt + QStringLiteral(": ")).toLocal8Bit().constData(), tty);
    std::fflush(tty);

    const int fd = fileno(tty);
    termios saved{};
    const bool canHide = tcgetattr(fd, &saved) == 0;
    if (canHide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    std::string line;
    int c = 0;
    while ((c = std::fgetc(tty)) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    if (canHide)
        tcsetattr(fd, TCSAFLUSH, &saved);
    std::fputs("\n", tty);
    std::fclose(tty);
    if (c == EOF && line.empty())
        return std::nullopt;
    return QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace qv::tool
