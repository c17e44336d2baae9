#include "base/host.h"

#include "base/usertext.h"

namespace orvane {

const char *messageCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QT_TRANSLATE_NOOP("Orvane", "警告");
    case MessageKind::Error:
        return QT_TRANSLATE_NOOP("Orvane", "エラー");
    case MessageKind::Information:
        return QT_TRANSLATE_NOOP("Orvane", "情報");
    case MessageKind::Confirmation:
        return QT_TRANSLATE_NOOP("Orvane", "確認");
    }
    return "";
}

} // namespace orvane
