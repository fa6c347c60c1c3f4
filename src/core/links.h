// The maker's addresses, kept in one place.
#pragma once

#include <QString>

namespace tavi::links {

inline const QString SupportMail = QStringLiteral("support@tavi.example.org");
inline const QString HomePage = QStringLiteral("https://www.tavi.example.org/");

} // namespace tavi::links
