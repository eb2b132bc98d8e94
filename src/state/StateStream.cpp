#include "state/StateStream.h"

#include "state/ValueReader.h"
#include "state/ValueWriter.h"

namespace ostinel {

void WriteStateStream(TValueWriter& w, const TStateHeader& header, IModuleStateSection& module,
                      const TMidiCCList& ccs) {
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString(header.Version);
    w.WriteString(header.PresetName);
    w.WriteString(header.Reserved[0]);
    w.WriteString(header.Reserved[1]);
    w.WriteListEnd();

    w.WriteListBegin();
    module.WriteSection(w);
    w.WriteListEnd();

    w.WriteListBegin();
    for (const TMidiCCItem& item : ccs.Items()) {
        w.WriteListBegin();
        w.WriteString(item.ParameterName);
        w.WriteInteger(item.CCNumber);
        w.WriteListEnd();
    }
    w.WriteListEnd();
}

TStateHeader ReadStateStream(TValueReader& r, IModuleStateSection& module, TMidiCCList& ccs) {
    TStateHeader header;
    r.ReadSignature();
    r.ReadListBegin();
    header.Version = r.ReadString();
    header.PresetName = r.ReadString();
    module.PresetNameRead(header.PresetName);
    header.Reserved[0] = r.ReadString();
    header.Reserved[1] = r.ReadString();
    r.ReadListEnd();

    r.ReadListBegin();
    module.ReadSection(r, header);
    r.ReadListEnd();

    if (!r.EndOfList()) {
        ccs.Clear();
        r.ReadListBegin();
        while (!r.EndOfList()) {
            r.ReadListBegin();
            const std::string name = r.ReadString();
            const std::int32_t number = r.ReadInteger();
            r.ReadListEnd();
            ccs.SetCC(name, number);
        }
        r.ReadListEnd();
    }
    return header;
}

} // namespace ostinel
