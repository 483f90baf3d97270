// Feeds any bytes to the settings reader as an aa.ini and writes them back.
#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("aa.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    qv::Settings options(path);
    options.readAll();
    options.writeAll();
    qv::Settings again(path);
    again.readAll();
    return 0;
}
