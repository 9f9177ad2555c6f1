#include "ui/expert_password.hpp"

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QCryptographicHash>

namespace qmx::ui {

namespace {

constexpr char kSalt[] = "qmx/expert/7f3a9c1e5b";
// SHA-256 of the salt followed by the pass phrase in UTF-8.
constexpr std::array<std::uint8_t, 32> kHash = {
    0x19, 0xd6, 0xd6, 0x2b, 0xec, 0x34, 0x12, 0xc6, 0x9d, 0x7a, 0x16, 0xad, 0x13, 0x8f, 0x7e, 0x58,
    0xb5, 0xf7, 0xb5, 0x45, 0xd2, 0x75, 0x3c, 0xda, 0x1f, 0xf0, 0x13, 0xe4, 0x29, 0xad, 0xf2, 0xbd};

}  // namespace

bool CheckExpertPassword(const QString& entry) {
  QByteArray data(kSalt);
  data.append(entry.left(kExpertPasswordLength).toUtf8());
  const QByteArray digest = QCryptographicHash::hash(data, QCryptographicHash::Sha256);
  if (digest.size() != static_cast<qsizetype>(kHash.size())) return false;
  // Every byte is compared, so the time taken does not tell how much of the entry was right.
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < kHash.size(); ++i) {
    difference |= static_cast<std::uint8_t>(static_cast<std::uint8_t>(digest[static_cast<qsizetype>(i)]) ^ kHash[i]);
  }
  return difference == 0;
}

}  // namespace qmx::ui
