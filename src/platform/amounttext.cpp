#include "platform/amounttext.h"

#include "ledger/amount.h"
#include "ledger/typedamount.h"

namespace platform {

std::optional<QString> AmountToStore(const QString& typed) {
    const std::string plain = ledger::NormalizeTypedAmount(typed.toStdString());
    if (!ledger::IsDecimalNumber(plain))
        return std::nullopt;
    return QString::fromStdString(plain);
}

}  // namespace platform
