#include "framework/base/SystemText.h"

#include <QFile>

namespace afx {

QString FromSystemText(std::string_view text) {
    return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace afx
