// Any field text, caret and selection through the rules that take a piece of
// a field and turn it into a tel:, web or mailto: URL. Pieces stay inside the
// text, and every URL handed on is one the desktop may open: the right
// scheme, valid, and a mail query with nothing left unescaped.
#include "tools/FieldPiece.h"
#include "tools/LinkUrls.h"
#include "tools/MailtoUrl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    qv::TextFieldState field;
    field.text = QString::fromUtf8(reinterpret_cast<const char *>(data + 3), static_cast<qsizetype>(size - 3));
    const int length = int(field.text.size());
    field.caret = length ? data[0] % (length + 1) : 0;
    field.multiLine = data[2] & 1;
    if (data[2] & 2) {
        field.selectionStart = length ? data[1] % length : 0;
        field.selectionLength = std::min(int(data[2] >> 2), length - field.selectionStart);
    }

    const qv::FieldPiece piece = qv::pieceAroundCaret(field);
    check(piece.start >= 0 && piece.length >= 0 && piece.start + piece.length <= length);
    check(piece.text == field.text.mid(piece.start, piece.length));
    check(piece.separatorBefore < piece.start);

    if (const auto tel = qv::telephoneUrl(qv::dialNumber(field)))
        check(tel->isValid() && tel->scheme() == QLatin1String("tel"));
    if (const auto web = qv::webUrl(qv::addressInField(field))) {
        const QString scheme = web->scheme();
        check(web->isValid());
        check(scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"));
    }

    const QString mail = qv::mailtoUrl({{qv::RecipientKind::To, field.text, piece.text}, {qv::RecipientKind::Bcc, piece.text, field.text}});
    for (const QChar c : mail)
        check(c.unicode() > 0x20 && c.unicode() < 0x7F && c != QLatin1Char(' '));
    check(mail.count(QLatin1Char('&')) == 1 && mail.count(QLatin1Char('?')) == 1);
    check(QUrl(mail, QUrl::StrictMode).isValid());
    return 0;
}
