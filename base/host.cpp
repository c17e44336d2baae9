#include "base/host.h"

namespace orvane {

const char *messageCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return "警告";
    case MessageKind::Error:
        return "エラー";
    case MessageKind::Information:
        return "情報";
    case MessageKind::Confirmation:
        return "確認";
    }
    return "";
}

} // namespace orvane
