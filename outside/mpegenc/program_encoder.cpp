#include "outside/mpegenc/program_encoder.h"

#include <cmath>
#include <cstring>

namespace mpegenc {

int ProgramEncoder::Open(const SessionSettings& settings, ProgramMux::Writer writer) {
  Close();
  if (!writer || (!settings.hasVideo && !settings.hasAudio)) return kResultBadArgument;
  if (settings.hasVideo) {
    const VideoSettings& v = settings.video;
    if (settings.picture.width <= 0 || settings.picture.height <= 0 ||
        settings.picture.width > 1920 || settings.picture.height > 1152)
      return kResultBadParameter;
    if (v.bitRate <= 0 || FrameRateOfCode(v.frameRateCode) == 0 || v.gopLength <= 0)
      return kResultBadParameter;
  }
  if (settings.hasAudio) {
    if (!Layer2Encoder::SampleRateAllowed(settings.sampleRate) ||
        (settings.channels != 1 && settings.channels != 2) ||
        (settings.bitsPerSample != 8 && settings.bitsPerSample != 16))
      return kResultUnsupportedFormat;
    if (!Layer2Encoder::BitRateAllowed(settings.audioBitRate, settings.channels))
      return kResultBadParameter;
  }
  settings_ = settings;
  if (settings.hasVideo) {
    VideoSettings v = settings.video;
    v.width = settings.picture.width;
    v.height = settings.picture.height;
    video_ = std::make_unique<VideoEncoder>(v);
  }
  if (settings.hasAudio)
    audio_ = std::make_unique<Layer2Encoder>(settings.sampleRate, settings.channels,
                                             settings.audioBitRate);
  ProgramMux::Config config;
  config.video = settings.hasVideo;
  config.audio = settings.hasAudio;
  config.videoBitRate = std::max(settings.video.maxBitRate, settings.video.bitRate);
  config.audioBitRate = settings.audioBitRate;
  mux_ = std::make_unique<ProgramMux>(config, std::move(writer));
  pictures_ = audioSamples_ = audioFramesMuxed_ = 0;
  finished_ = false;
  carry_.clear();
  open_ = true;
  return kResultOk;
}

double ProgramEncoder::VideoSeconds() const {
  return video_ ? pictures_ / FrameRateOfCode(settings_.video.frameRateCode) : 0.0;
}

double ProgramEncoder::AudioSeconds() const {
  return audio_ ? static_cast<double>(audioSamples_) / settings_.sampleRate : 0.0;
}

std::int32_t ProgramEncoder::Demand() const {
  if (!video_ || finished_) return 1;
  if (!audio_) return -1;
  const double frame = 1.0 / FrameRateOfCode(settings_.video.frameRateCode);
  const double lag = VideoSeconds() - AudioSeconds();
  if (lag > frame / 2) return 1;  // audio is behind
  if (lag < 0) return -1;         // audio is ahead
  return 0;
}

int ProgramEncoder::CompressVideo(const std::uint8_t* frame, int repeat, std::int32_t* demand) {
  if (!open_ || !video_) return kResultNotOpen;
  if (finished_) {
    if (demand) *demand = Demand();
    return kResultEndOfStream;
  }
  if (!frame) return kResultBadArgument;
  ConvertPicture(settings_.picture, frame, &video_->InputFrame());
  const double fps = FrameRateOfCode(settings_.video.frameRateCode);
  const int copies = repeat ? 2 : 1;
  for (int i = 0; i < copies && !finished_; ++i) {
    pictureBytes_.clear();
    video_->EncodePicture(&pictureBytes_);
    const std::int64_t dts =
        kStartTicks + static_cast<std::int64_t>(std::llround((pictures_ - 1) * 90000.0 / fps));
    const std::int64_t pts =
        kStartTicks + static_cast<std::int64_t>(std::llround(pictures_ * 90000.0 / fps));
    mux_->AddVideo(pictureBytes_, pts, dts);
    ++pictures_;
    if (static_cast<std::uint64_t>(pictures_) >= settings_.frameLimit) finished_ = true;
  }
  if (demand) *demand = Demand();
  return finished_ ? kResultEndOfStream : kResultOk;
}

void ProgramEncoder::EmitAudioFrames(std::vector<std::vector<std::uint8_t>>& frames) {
  for (const auto& f : frames) {
    const std::int64_t pts =
        kStartTicks +
        static_cast<std::int64_t>(std::llround(audioFramesMuxed_ * Layer2Encoder::kSamplesPerFrame *
                                               90000.0 / settings_.sampleRate));
    mux_->AddAudio(f, pts);
    ++audioFramesMuxed_;
  }
  frames.clear();
}

int ProgramEncoder::CompressAudio(const std::uint8_t* pcm, std::size_t bytes,
                                  std::int32_t* demand) {
  if (!open_ || !audio_) return kResultNotOpen;
  if (!pcm && bytes) return kResultBadArgument;
  const int bytesPerSample = settings_.bitsPerSample / 8;
  const int blockAlign = bytesPerSample * settings_.channels;
  const std::int64_t incoming = static_cast<std::int64_t>((carry_.size() + bytes) / blockAlign);
  // Audio too far ahead of the pictures waits for video, unless the video
  // has ended.
  if (video_ && !finished_ &&
      AudioSeconds() + static_cast<double>(incoming) / settings_.sampleRate >
          VideoSeconds() + kAudioLeadSeconds) {
    if (demand) *demand = Demand();
    return kResultWantsVideoFirst;
  }
  std::vector<std::uint8_t> data(carry_);
  data.insert(data.end(), pcm, pcm + bytes);
  const std::size_t whole = static_cast<std::size_t>(incoming) * blockAlign;
  std::vector<std::int16_t> samples(static_cast<std::size_t>(incoming) * settings_.channels);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (bytesPerSample == 2) {
      samples[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    } else {
      samples[i] = static_cast<std::int16_t>((data[i] - 128) * 256);  // 8-bit PCM is unsigned
    }
  }
  carry_.assign(data.begin() + static_cast<std::ptrdiff_t>(whole), data.end());
  std::vector<std::vector<std::uint8_t>> frames;
  audio_->AddSamples(samples.data(), static_cast<std::size_t>(incoming), &frames);
  audioSamples_ += incoming;
  EmitAudioFrames(frames);
  if (demand) *demand = Demand();
  return kResultOk;
}

void ProgramEncoder::Close() {
  if (!open_) return;
  open_ = false;
  if (audio_) {
    std::vector<std::vector<std::uint8_t>> frames;
    audio_->Flush(&frames);
    EmitAudioFrames(frames);
  }
  if (video_ && pictures_ > 0) {
    pictureBytes_.clear();
    video_->EncodeEnd(&pictureBytes_);
    const double fps = FrameRateOfCode(settings_.video.frameRateCode);
    const std::int64_t t =
        kStartTicks + static_cast<std::int64_t>(std::llround(pictures_ * 90000.0 / fps));
    mux_->AddVideo(pictureBytes_, t, t);
  }
  mux_->Finish();
  mux_.reset();
  video_.reset();
  audio_.reset();
}

}  // namespace mpegenc
