#include "netimport/netsettings.h"

#include "netimport/netimport.h"

#include "ledger/cp932.h"
#include "platform/textcodec.h"

#include <array>

namespace netimport {

namespace {

constexpr std::string_view kSection = "net";

struct Key {
    std::string_view name;
    QString NetFields::*field;
};
constexpr std::array<Key, 4> kKeys{{{"url", &NetFields::url},
                                    {"proxy", &NetFields::proxy},
                                    {"proxyport", &NetFields::proxyPort},
                                    {"id", &NetFields::id}}};

}  // namespace

NetFields ReadNetFields(const ledger::IniFile& ini) {
    NetFields fields;
    for (const Key& key : kKeys)
        fields.*key.field = platform::FromCp932(ini.ReadString(kSection, key.name, {}));
    if (!ini.Value(kSection, "url"))
        fields.url = QString::fromLatin1(kDefaultServiceUrl);
    return fields;
}

std::optional<QString> WriteNetFields(ledger::IniFile& ini, const NetFields& fields) {
    std::optional<QString> refused;
    for (const Key& key : kKeys) {
        const std::optional<std::string> stored = ini.Value(kSection, key.name);
        platform::Cp932Text text = platform::Cp932Text::FromBytes(stored.value_or(std::string()));
        try {
            if (text.Set(fields.*key.field) || !stored)
                ini.WriteString(kSection, key.name, text.bytes);
        } catch (const ledger::Cp932Error& e) {
            refused =
                QStringLiteral(
                    "「%1」は Shift-JIS で書けない文字のため、%2 の設定は保存しませんでした。")
                    .arg(QString::fromStdString(e.character()), QLatin1String(key.name));
        }
    }
    return refused;
}

}  // namespace netimport
