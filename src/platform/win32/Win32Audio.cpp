// Since Windows Vista the wave-out volume belongs to the calling program's own audio session,
// so changing it would only change Kivra's own (silent) sound. The endpoint volume is the one
// the user hears; it is looked up afresh every time because the default device can change.
#include "platform/win32/Win32Audio.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kivra::win32 {
namespace {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }
    Interface* operator->() const { return pointer_; }
    Interface& operator*() const { return *pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void** out() { return reinterpret_cast<void**>(&pointer_); }
    Interface** typedOut() { return &pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// Empty when Core Audio is missing or there is no playback device.
ComPtr<IAudioEndpointVolume> DefaultEndpointVolume() {
    ComPtr<IMMDeviceEnumerator> enumerator;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IMMDeviceEnumerator), enumerator.out())))
        return {};
    ComPtr<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.typedOut()))) return {};
    ComPtr<IAudioEndpointVolume> volume;
    if (FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr, volume.out())))
        return {};
    return volume;
}

std::uint16_t LevelOfScalar(float scalar) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(scalar, 0.0f, 1.0f) * 65535.0f));
}

float ScalarOfLevel(std::uint16_t level) { return static_cast<float>(level) / 65535.0f; }

bool ReadEndpoint(IAudioEndpointVolume& endpoint, std::uint16_t& left, std::uint16_t& right) {
    UINT channels = 0;
    if (FAILED(endpoint.GetChannelCount(&channels)) || channels == 0) return false;
    float first = 0, second = 0;
    if (FAILED(endpoint.GetChannelVolumeLevelScalar(0, &first))) return false;
    // A mono device has one level for both sides.
    if (channels == 1)
        second = first;
    else if (FAILED(endpoint.GetChannelVolumeLevelScalar(1, &second)))
        return false;
    left = LevelOfScalar(first);
    right = LevelOfScalar(second);
    return true;
}

// Surround channels follow the side they are on in the speaker order (front left, front
// right, centre, bass, back left, back right...): even channels take left, odd take right.
bool WriteEndpoint(IAudioEndpointVolume& endpoint, std::uint16_t left, std::uint16_t right) {
    UINT channels = 0;
    if (FAILED(endpoint.GetChannelCount(&channels)) || channels == 0) return false;
    if (channels == 1)
        return SUCCEEDED(endpoint.SetChannelVolumeLevelScalar(0, ScalarOfLevel(std::max(left, right)), nullptr));
    for (UINT channel = 0; channel < channels; ++channel) {
        const std::uint16_t level = channel % 2 == 0 ? left : right;
        if (FAILED(endpoint.SetChannelVolumeLevelScalar(channel, ScalarOfLevel(level), nullptr))) return false;
    }
    return true;
}

// The default wave output, opened for a plain CD-quality format so that its volume can be
// asked and set through a real handle (some systems accept only that); where it cannot be
// opened, the wave mapper's id stands in for the device.
class WaveOutDevice {
public:
    WaveOutDevice() {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = 44100;
        format.wBitsPerSample = 16;
        format.nBlockAlign = format.nChannels * format.wBitsPerSample / 8;
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
        if (waveOutOpen(&opened_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) opened_ = nullptr;
    }
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;
    ~WaveOutDevice() {
        if (opened_) waveOutClose(opened_);
    }
    HWAVEOUT handle() const {
        return opened_ ? opened_ : reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER));
    }

private:
    HWAVEOUT opened_ = nullptr;
};

bool ReadWaveOut(std::uint16_t& left, std::uint16_t& right) {
    WAVEOUTCAPSW caps{};
    if (waveOutGetDevCapsW(WAVE_MAPPER, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
    if (!(caps.dwSupport & WAVECAPS_VOLUME)) return false;
    const WaveOutDevice device;
    DWORD volume = 0;
    if (waveOutGetVolume(device.handle(), &volume) != MMSYSERR_NOERROR) return false;
    left = LOWORD(volume);
    // Without separate channels the high word means nothing; the one level is both sides.
    right = (caps.dwSupport & WAVECAPS_LRVOLUME) ? HIWORD(volume) : left;
    return true;
}

void WriteWaveOut(std::uint16_t left, std::uint16_t right) {
    const WaveOutDevice device;
    waveOutSetVolume(device.handle(), MAKELONG(left, right));
}

}  // namespace

// An endpoint that does not answer per channel (some audio stacks leave these calls
// unimplemented) is treated like a missing one.
bool Win32Audio::getVolume(std::uint16_t& left, std::uint16_t& right) {
    com_.ensure();
    // Both readers leave the outputs alone unless they succeed.
    ComPtr<IAudioEndpointVolume> endpoint = DefaultEndpointVolume();
    if (endpoint && ReadEndpoint(*endpoint, left, right)) return true;
    return ReadWaveOut(left, right);
}

void Win32Audio::setVolume(std::uint16_t left, std::uint16_t right) {
    com_.ensure();
    ComPtr<IAudioEndpointVolume> endpoint = DefaultEndpointVolume();
    if (endpoint && WriteEndpoint(*endpoint, left, right)) return;
    WriteWaveOut(left, right);
}

}  // namespace kivra::win32
