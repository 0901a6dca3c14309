#include "platform/headless/SilentSound.h"

namespace {

class TSilentSound final : public ISoundOutput {
public:
    void PlayLooping(const std::string&) override {}
    void Stop() override {}
};

} // namespace

std::unique_ptr<ISoundOutput> CreateSilentSoundOutput() { return std::make_unique<TSilentSound>(); }
