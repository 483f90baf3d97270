#pragma once
// A prompter for the benchmarks: nothing is asked; messages go to stderr.
#include "common/Prompter.h"

#include <cstdio>

namespace qv::bench {

class QuietPrompter : public Prompter {
public:
    Button message(const QString &text, Icon, Buttons) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Button::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> password(const QString &) override { return std::nullopt; }
    std::optional<QString> openFile(const OpenRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const SaveRequest &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
};

} // namespace qv::bench
