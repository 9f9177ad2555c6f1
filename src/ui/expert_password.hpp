#pragma once
// The check of the expert-mode pass phrase. Only a salted SHA-256 hash of it is stored, and the
// comparison takes the same time whatever the entry.
#include <QString>

namespace qmx::ui {

// Longest entry the prompt takes; a longer entry is compared on its first characters only.
inline constexpr int kExpertPasswordLength = 20;

bool CheckExpertPassword(const QString& entry);

}  // namespace qmx::ui
