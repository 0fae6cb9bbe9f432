#include "viewer/video/ffmpeg_video_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <vector>

namespace quorvel::viewer::video {

namespace {

struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

std::size_t frameBytes(const AVFrame& frame) {
  std::size_t bytes = 0;
  for (const AVBufferRef* buffer : frame.buf) {
    if (buffer) bytes += buffer->size;
  }
  return bytes;
}

// The largest frame read: kMaxSide pixels a side and as many pixels as a frame of 8K cinema
// video (8192 × 4320). A stream whose header declares more is refused before anything is
// decoded, and the decoder refuses such frames met later, so a few bytes of a damaged
// header cannot cost a gigabyte and seconds for every frame.
constexpr std::int64_t kMaxFramePixels = std::int64_t{8192} * 4320;

bool frameSizeFits(int width, int height) {
  return width >= 0 && height >= 0 && width <= VideoSource::kMaxSide &&
         height <= VideoSource::kMaxSide &&
         static_cast<std::int64_t>(width) * height <= kMaxFramePixels;
}

// FFmpeg's own messages (broken packets of a damaged file, deprecated pixel formats) are
// not the user's business: the window reports failures itself.
void quietLibraries() {
  static const bool once = [] {
    av_log_set_level(AV_LOG_FATAL);
    return true;
  }();
  (void)once;
}

}  // namespace

struct FfmpegVideoSource::Impl {
  AVFormatContext* format = nullptr;
  AVCodecContext* decoder = nullptr;
  SwsContext* scaler = nullptr;
  AVPacket* packet = nullptr;
  int stream = -1;
  // Presentation time stamps of the frames, ascending: frame k has stamps[k − 1].
  std::vector<std::int64_t> stamps;
  // Number of the frame the decoder gave out last (0: none since the last seek).
  int lastDecoded = 0;
  // Packets without presentation stamps (AVI stores only the order of decoding): the
  // frames that come out of the decoder are then numbered by counting from the key frame
  // decoding started at, which in a closed group of frames is shown at the place where it
  // is stored. Reordered frames carry the decoding stamp of a later packet, so their own
  // stamps cannot number them.
  bool countFrames = false;
  // The decoding stamp of the first packet sent since the last seek.
  std::int64_t startStamp = AV_NOPTS_VALUE;
  bool flushSent = false;  // the end of the file has been told to the decoder
  bool ended = false;      // the decoder has given out everything
  std::map<int, FramePtr> kept;
  DecodeStats stats;

  ~Impl() { close(); }

  void close() {
    kept.clear();
    stats.cachedFrames = 0;
    stats.cachedBytes = 0;
    if (scaler) sws_freeContext(scaler);
    scaler = nullptr;
    if (packet) av_packet_free(&packet);
    if (decoder) avcodec_free_context(&decoder);
    if (format) avformat_close_input(&format);
    stream = -1;
    stamps.clear();
    lastDecoded = 0;
    countFrames = false;
    startStamp = AV_NOPTS_VALUE;
    flushSent = false;
    ended = false;
  }

  AVStream* videoStream() const { return format->streams[stream]; }

  // The frame number of a stamp: the first frame whose stamp is not below it.
  int numberOf(std::int64_t stamp) const {
    const auto at = std::lower_bound(stamps.begin(), stamps.end(), stamp);
    return static_cast<int>(at - stamps.begin()) + 1;
  }

  bool openFile(const std::string& path) {
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
    if (!findStreamInfo()) return false;
    const AVCodec* codec = nullptr;
    stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || !codec) return false;
    const AVCodecParameters& declared = *videoStream()->codecpar;
    if (!frameSizeFits(declared.width, declared.height)) return false;
    // Only the video stream is read: packets of the others are dropped by the demuxer.
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      format->streams[i]->discard =
          static_cast<int>(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    decoder = avcodec_alloc_context3(codec);
    if (!decoder) return false;
    if (avcodec_parameters_to_context(decoder, videoStream()->codecpar) < 0) return false;
    decoder->thread_count = 1;
    decoder->max_pixels = kMaxFramePixels;
    if (avcodec_open2(decoder, codec, nullptr) < 0) return false;
    packet = av_packet_alloc();
    if (!packet) return false;
    if (!learnStamps()) return false;
    // The video counts as open only when its first frame decodes.
    return frame(1) != nullptr;
  }

  // The streams' parameters, found by decoding a few frames where the header does not tell
  // them; those decoders too refuse frames beyond the largest.
  bool findStreamInfo() {
    std::vector<AVDictionary*> options(format->nb_streams, nullptr);
    for (AVDictionary*& streamOptions : options) {
      av_dict_set_int(&streamOptions, "max_pixels", kMaxFramePixels, 0);
    }
    const int found = avformat_find_stream_info(format, options.empty() ? nullptr : options.data());
    for (AVDictionary*& streamOptions : options) av_dict_free(&streamOptions);
    return found >= 0;
  }

  // The stamps of all frames: the container's index when it lists exactly the counted
  // frames of a codec that shows frames in the order it stores them, otherwise one read of
  // all packets.
  bool learnStamps() {
    AVStream* st = videoStream();
    const int entries = avformat_index_get_entries_count(st);
    if (st->nb_frames > 0 && entries == st->nb_frames && st->codecpar->video_delay == 0) {
      bool whole = true;
      for (int i = 0; i < entries && whole; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(st, i);
        if (!entry || entry->timestamp == AV_NOPTS_VALUE || entry->size <= 0) whole = false;
        if (whole) stamps.push_back(entry->timestamp);
      }
      if (whole) return finishStamps();
      stamps.clear();
    }
    while (av_read_frame(format, packet) >= 0) {
      // Packets marked as not to be shown (before or after an edit list) are no frames.
      if (packet->stream_index == stream &&
          !(packet->flags & (AV_PKT_FLAG_CORRUPT | AV_PKT_FLAG_DISCARD)) && packet->size > 0) {
        const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (stamp != AV_NOPTS_VALUE) stamps.push_back(stamp);
        if (packet->pts == AV_NOPTS_VALUE) countFrames = true;
      }
      av_packet_unref(packet);
    }
    if (!finishStamps()) return false;
    return rewind();
  }

  bool finishStamps() {
    std::sort(stamps.begin(), stamps.end());
    stamps.erase(std::unique(stamps.begin(), stamps.end()), stamps.end());
    return !stamps.empty();
  }

  // Back to the first packet of the video.
  bool rewind() {
    avcodec_flush_buffers(decoder);
    lastDecoded = 0;
    startStamp = AV_NOPTS_VALUE;
    flushSent = false;
    ended = false;
    ++stats.seeks;
    if (av_seek_frame(format, stream, stamps.front(), AVSEEK_FLAG_BACKWARD) >= 0) return true;
    if (avformat_seek_file(format, stream, std::numeric_limits<std::int64_t>::min(), 0, 0, 0) >= 0)
      return true;
    return av_seek_frame(format, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
  }

  // The next frame out of the decoder, kept; nullptr at the end or on a broken stream.
  AVFrame* decodeNext() {
    if (ended) return nullptr;
    FramePtr out(av_frame_alloc());
    if (!out) return nullptr;
    while (true) {
      const int received = avcodec_receive_frame(decoder, out.get());
      if (received == 0) break;
      if (received != AVERROR(EAGAIN) || flushSent) {
        ended = true;
        return nullptr;
      }
      if (av_read_frame(format, packet) < 0) {
        // The end of the file: the decoder gives out the frames it still holds.
        avcodec_send_packet(decoder, nullptr);
        flushSent = true;
        continue;
      }
      if (packet->stream_index == stream) {
        if (lastDecoded == 0 && startStamp == AV_NOPTS_VALUE) startStamp = packet->dts;
        // A packet the decoder refuses is skipped; its frame is then missing and asking
        // for it fails.
        avcodec_send_packet(decoder, packet);
      }
      av_packet_unref(packet);
    }
    ++stats.decodedFrames;
    const int number = numberOfDecoded(*out);
    lastDecoded = number;
    return keep(number, std::move(out));
  }

  int numberOfDecoded(const AVFrame& frame) const {
    if (countFrames) {
      if (lastDecoded > 0) return lastDecoded + 1;
      return startStamp == AV_NOPTS_VALUE ? 1 : numberOf(startStamp);
    }
    const std::int64_t stamp = frame.best_effort_timestamp;
    return stamp == AV_NOPTS_VALUE ? lastDecoded + 1 : numberOf(stamp);
  }

  AVFrame* keep(int number, FramePtr frame) {
    AVFrame* raw = frame.get();
    auto [at, inserted] = kept.try_emplace(number, nullptr);
    if (!inserted) stats.cachedBytes -= frameBytes(*at->second);
    at->second = std::move(frame);
    stats.cachedBytes += frameBytes(*raw);
    stats.cachedFrames = kept.size();
    return raw;
  }

  // Drops the kept frames farthest from `centre` until the memory bound holds; the frame
  // `centre` itself stays.
  void trim(int centre) {
    while (stats.cachedBytes > kCacheBytes && kept.size() > 1) {
      auto first = kept.begin();
      auto last = std::prev(kept.end());
      auto doomed =
          std::abs(first->first - centre) >= std::abs(last->first - centre) ? first : last;
      if (doomed->first == centre) doomed = doomed == first ? last : first;
      stats.cachedBytes -= frameBytes(*doomed->second);
      kept.erase(doomed);
    }
    stats.cachedFrames = kept.size();
  }

  // Decodes forwards until frame `number` comes out. False when a later frame comes first
  // (the frame is missing) or the stream ends.
  AVFrame* decodeUntil(int number, bool& overshot) {
    overshot = false;
    bool first = true;
    while (AVFrame* frame = decodeNext()) {
      const int got = lastDecoded;
      trim(number);
      if (got == number) return frame;
      if (got > number) {
        overshot = first;
        return nullptr;
      }
      first = false;
    }
    return nullptr;
  }

  AVFrame* seekTo(int number) {
    avcodec_flush_buffers(decoder);
    lastDecoded = 0;
    startStamp = AV_NOPTS_VALUE;
    flushSent = false;
    ended = false;
    ++stats.seeks;
    bool overshot = false;
    if (av_seek_frame(format, stream, stamps[number - 1], AVSEEK_FLAG_BACKWARD) >= 0) {
      if (AVFrame* frame = decodeUntil(number, overshot)) return frame;
      if (!overshot) return nullptr;
    }
    // The seek landed behind the frame (or failed): decode from the start instead.
    if (!rewind()) return nullptr;
    return decodeUntil(number, overshot);
  }

  // Frame `number` (1 … count), decoded or kept; nullptr when it does not decode.
  AVFrame* frame(int number) {
    if (number < 1 || number > static_cast<int>(stamps.size())) return nullptr;
    if (auto at = kept.find(number); at != kept.end()) {
      ++stats.cacheHits;
      return at->second.get();
    }
    if (lastDecoded > 0 && lastDecoded < number && !ended) {
      // Frames between lie ahead of the decoder: decoding on is cheaper than a seek when
      // they are few.
      if (number - lastDecoded <= 1 || !nextKeyBefore(number)) {
        bool overshot = false;
        if (AVFrame* frame = decodeUntil(number, overshot)) return frame;
        return nullptr;
      }
    }
    return seekTo(number);
  }

  // True when a key frame lies between the decoder's position and frame `number`, so a
  // seek skips decoding. Unknown (no index) counts as false.
  bool nextKeyBefore(int number) const {
    AVStream* st = videoStream();
    const int at = av_index_search_timestamp(st, stamps[number - 1], AVSEEK_FLAG_BACKWARD);
    if (at < 0) return false;
    const AVIndexEntry* entry = avformat_index_get_entry(st, at);
    return entry && entry->timestamp > stamps[lastDecoded - 1];
  }

  bool scale(const AVFrame& frame, int width, int height, RgbFrame& out) {
    if (!frameSizeFits(frame.width, frame.height)) return false;
    scaler = sws_getCachedContext(scaler, frame.width, frame.height,
                                  static_cast<AVPixelFormat>(frame.format), width, height,
                                  AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler) return false;
    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* planes[4] = {out.rgb.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {3 * width, 0, 0, 0};
    return sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, planes, strides) ==
           height;
  }
};

FfmpegVideoSource::FfmpegVideoSource() : impl_(std::make_unique<Impl>()) {
  quietLibraries();
}

FfmpegVideoSource::~FfmpegVideoSource() = default;

bool FfmpegVideoSource::open(const std::string& path) {
  impl_->close();
  impl_->stats = {};
  if (path.empty() || !impl_->openFile(path)) {
    impl_->close();
    return false;
  }
  return true;
}

double FfmpegVideoSource::frameCount() const {
  return static_cast<double>(impl_->stamps.size());
}

void FfmpegVideoSource::seek(int frame) {
  if (!impl_->format) return;
  const int number = std::clamp(frame, 1, static_cast<int>(impl_->stamps.size()));
  if (impl_->kept.count(number) || impl_->lastDecoded + 1 == number) return;
  impl_->seekTo(number);
}

bool FfmpegVideoSource::readFrame(int frame, int width, int height, RgbFrame& out) {
  if (!impl_->format || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      frame < 0 || frame > static_cast<int>(impl_->stamps.size())) {
    return false;
  }
  const AVFrame* decoded = impl_->frame(frame == 0 ? 1 : frame);
  return decoded && impl_->scale(*decoded, width, height, out);
}

double FfmpegVideoSource::frameRate() const {
  if (!impl_->format) return 0;
  const AVStream* st = impl_->videoStream();
  for (const AVRational rate : {st->r_frame_rate, st->avg_frame_rate}) {
    if (rate.num > 0 && rate.den > 0) {
      const double perSecond = av_q2d(rate);
      // Containers without a rate of their own report the time base's 1000 or 90000.
      if (std::isfinite(perSecond) && perSecond > 0 && perSecond <= 1000) return perSecond;
    }
  }
  return 0;
}

int FfmpegVideoSource::width() const {
  return impl_->decoder ? impl_->decoder->width : 0;
}
int FfmpegVideoSource::height() const {
  return impl_->decoder ? impl_->decoder->height : 0;
}
const DecodeStats& FfmpegVideoSource::stats() const {
  return impl_->stats;
}

std::unique_ptr<VideoSource> makeVideoSource() {
  return std::make_unique<FfmpegVideoSource>();
}

}  // namespace quorvel::viewer::video
