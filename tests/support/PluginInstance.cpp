#include "support/PluginInstance.h"

#include <cstring>
#include <stdexcept>

namespace ostinel::test {

using namespace vst;

Instance::Instance(bool open, MainEntry entry) {
    if (entry == nullptr)
        entry = Entries().vstPluginMain;
    fEffect = entry(&FakeHost::Callback);
    if (fEffect == nullptr)
        throw std::runtime_error("VSTPluginMain returned null");
    if (open)
        Dispatch(effOpen);
}

Instance::~Instance() {
    if (fEffect != nullptr)
        Close();
}

VstIntPtr Instance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
    return fEffect->dispatcher(fEffect, opcode, index, value, ptr, opt);
}

VstIntPtr Instance::Close() {
    const VstIntPtr result = Dispatch(effClose);
    fEffect = nullptr;
    return result;
}

void Instance::SendEvents(EventList& events) {
    Dispatch(effProcessEvents, 0, 0, events.Get());
}

void Instance::Process(std::int32_t frames) {
    for (auto& channel : outputs)
        channel.assign(static_cast<std::size_t>(frames), 0.5f);
    float* out[2] = {outputs[0].data(), outputs[1].data()};
    fEffect->processReplacing(fEffect, nullptr, out, frames);
}

std::vector<std::uint8_t> Instance::GetChunk(bool isPreset) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

VstIntPtr Instance::SetChunk(const std::vector<std::uint8_t>& bytes, bool isPreset) {
    std::vector<std::uint8_t> copy = bytes; // the plug-in may not keep host memory
    return Dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

std::string Instance::Text(VstInt32 opcode, VstInt32 index, std::size_t size) {
    std::vector<char> buffer(size + 16, '\x7f');
    Dispatch(opcode, index, 0, buffer.data());
    for (std::size_t i = size; i < buffer.size(); ++i)
        if (buffer[i] != '\x7f')
            throw std::runtime_error("text written past its buffer");
    return std::string(buffer.data(), strnlen(buffer.data(), size));
}

} // namespace ostinel::test
