// The Linux program renders without sound (snapshots, benchmarks and the
// screen-saver hack, whose host owns the audio): its sound output plays
// nothing.
#include "platform/Sound.h"

namespace {

class TSilentSound final : public ISoundOutput {
public:
    void PlayLooping(const std::string&) override {}
    void Stop() override {}
};

} // namespace

std::unique_ptr<ISoundOutput> CreateSoundOutput() { return std::make_unique<TSilentSound>(); }
