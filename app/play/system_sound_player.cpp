// The system player: ALSA's default output, loaded at run time so that the
// program neither needs its headers to build nor the library to run. The
// device is used only on the player's own thread; callers just hand over the
// sound. Any failure turns the player silent for good.
#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "app/play/move_sound.h"

namespace kestrel {
namespace {

struct SndPcm;
using OpenFn = int (*)(SndPcm**, const char*, int, int);
using SetParamsFn = int (*)(SndPcm*, int, int, unsigned, unsigned, int, unsigned);
using WriteFn = long (*)(SndPcm*, const void*, unsigned long);
using RecoverFn = int (*)(SndPcm*, int, int);
using CloseFn = int (*)(SndPcm*);
using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetErrorHandlerFn = int (*)(ErrorHandler);

constexpr int StreamPlayback = 0;
constexpr int NonBlocking = 1;
constexpr int FormatS16LE = 2;
constexpr int AccessRwInterleaved = 3;
constexpr int ErrAgain = -11;

void Quiet(const char*, int, const char*, int, const char*, ...) {}

struct Alsa {
  void* lib = nullptr;
  OpenFn open = nullptr;
  SetParamsFn setParams = nullptr;
  WriteFn write = nullptr;
  RecoverFn recover = nullptr;
  CloseFn close = nullptr;
  SndPcm* pcm = nullptr;

  bool Load() {
    lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    open = reinterpret_cast<OpenFn>(dlsym(lib, "snd_pcm_open"));
    setParams = reinterpret_cast<SetParamsFn>(dlsym(lib, "snd_pcm_set_params"));
    write = reinterpret_cast<WriteFn>(dlsym(lib, "snd_pcm_writei"));
    recover = reinterpret_cast<RecoverFn>(dlsym(lib, "snd_pcm_recover"));
    close = reinterpret_cast<CloseFn>(dlsym(lib, "snd_pcm_close"));
    if (auto quiet = reinterpret_cast<SetErrorHandlerFn>(dlsym(lib, "snd_lib_error_set_handler"))) quiet(&Quiet);
    return open && setParams && write && recover && close;
  }

  bool OpenDevice(int rate) {
    if (open(&pcm, "default", StreamPlayback, NonBlocking) < 0) {
      pcm = nullptr;
      return false;
    }
    if (setParams(pcm, FormatS16LE, AccessRwInterleaved, 1, static_cast<unsigned>(rate), 1, 100000) < 0) {
      close(pcm);
      pcm = nullptr;
      return false;
    }
    return true;
  }

  // Writes without blocking; gives up after a short while when the device
  // accepts nothing.
  void Write(const std::vector<int16_t>& samples) {
    std::size_t done = 0;
    for (int tries = 0; done < samples.size() && tries < 100; ++tries) {
      const long n = write(pcm, samples.data() + done, samples.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (n == ErrAgain) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      } else if (recover(pcm, static_cast<int>(n), 1) < 0) {
        return;
      }
    }
  }

  ~Alsa() {
    if (pcm) close(pcm);
    // The library stays loaded: ALSA keeps global state that outlives handles.
  }
};

// Shared with the thread, so that a thread stuck in the driver can be left
// behind at exit without touching freed memory.
struct PlayerState {
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<uint8_t> pending;
  bool hasPending = false;
  bool quit = false;
  bool finished = false;
  std::condition_variable done;
};

void PlayerLoop(std::shared_ptr<PlayerState> state) {
  Alsa alsa;
  bool usable = alsa.Load();
  bool opened = false;
  for (;;) {
    std::vector<uint8_t> wav;
    {
      std::unique_lock lock(state->mutex);
      state->wake.wait(lock, [&] { return state->quit || state->hasPending; });
      if (state->quit) break;
      wav.swap(state->pending);
      state->hasPending = false;
    }
    if (!usable) continue;
    const auto pcm = ReadPcmWav(wav);
    if (!pcm || pcm->channels != 1) continue;
    if (!opened) {
      opened = alsa.OpenDevice(pcm->rate);
      if (!opened) {
        usable = false;  // no output: stay silent from now on
        continue;
      }
    }
    alsa.Write(pcm->samples);
  }
  std::lock_guard lock(state->mutex);
  state->finished = true;
  state->done.notify_all();
}

class SystemSoundPlayer final : public TSoundPlayer {
 public:
  SystemSoundPlayer() : state_(std::make_shared<PlayerState>()) { thread_ = std::thread(PlayerLoop, state_); }

  ~SystemSoundPlayer() override {
    std::unique_lock lock(state_->mutex);
    state_->quit = true;
    state_->wake.notify_all();
    const bool ended = state_->done.wait_for(lock, std::chrono::seconds(1), [&] { return state_->finished; });
    lock.unlock();
    if (ended)
      thread_.join();
    else
      thread_.detach();
  }

  void Play(const std::vector<uint8_t>& wav) override {
    std::lock_guard lock(state_->mutex);
    state_->pending = wav;
    state_->hasPending = true;
    state_->wake.notify_all();
  }

 private:
  std::shared_ptr<PlayerState> state_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<TSoundPlayer> CreateSystemSoundPlayer() { return std::make_unique<SystemSoundPlayer>(); }

}  // namespace kestrel
