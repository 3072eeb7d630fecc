#pragma once

#include <QString>

#include <optional>

namespace platform {

// Why an amount was refused, shown beside its cell.
inline const QString kAmountRefused = QStringLiteral("金額は数字で入力してください");

// The amount to store for text typed or pasted into a 金額 cell: separators, yen signs and
// full-width digits made plain ("￥１，２８０" gives "1280"). nullopt when what remains is not
// a number; an empty text is no amount either.
std::optional<QString> AmountToStore(const QString& typed);

}  // namespace platform
