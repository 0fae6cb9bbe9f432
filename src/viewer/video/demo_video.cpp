#include "viewer/video/demo_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <memory>

namespace quorvel::viewer::video {

namespace {

const AVCodec* encoderOf(DemoCodec codec) {
  switch (codec) {
    case DemoCodec::Mjpeg:
      return avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    case DemoCodec::Mpeg4:
      return avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    case DemoCodec::H264:
      return avcodec_find_encoder(AV_CODEC_ID_H264);
  }
  return nullptr;
}

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

// One encoding session: the container, the stream and the encoder.
struct Writer {
  AVFormatContext* format = nullptr;
  AVCodecContext* encoder = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  bool fileOpen = false;

  ~Writer() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
    if (format) {
      if (fileOpen) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }

  // Sends a frame (nullptr: the end) and writes the packets that come out.
  bool encode(AVFrame* input) {
    if (avcodec_send_frame(encoder, input) < 0) return false;
    while (true) {
      const int got = avcodec_receive_packet(encoder, packet);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
      packet->stream_index = stream->index;
      if (av_interleaved_write_frame(format, packet) < 0) return false;
    }
  }
};

}  // namespace

bool encoderAvailable(DemoCodec codec) {
  return encoderOf(codec) != nullptr;
}

int frameCodeBlock(int number, int row, int column) {
  const int bit = kCodeRows * kCodeColumns - 1 - (row * kCodeColumns + column);
  return ((number >> bit) & 1) ? 255 : 0;
}

int readFrameNumber(const std::function<int(int, int)>& brightness, int width, int height) {
  int number = 0;
  for (int row = 0; row < kCodeRows; ++row) {
    for (int column = 0; column < kCodeColumns; ++column) {
      // The middle of the block, away from its edges where coding blurs.
      const int x = (2 * column + 1) * width / (2 * kCodeColumns);
      const int y = (2 * row + 1) * height / (2 * kCodeRows);
      const int level = brightness(x, y);
      if (level > 64 && level < 192) return -1;
      number = 2 * number + (level >= 192 ? 1 : 0);
    }
  }
  return number;
}

bool writeDemoVideo(const DemoVideo& video, std::string* error) {
  if (video.frames < 1 || video.frames > 65535 || video.width < 16 || video.height < 16 ||
      video.groupOfFrames < 1 || video.framesPerSecond < 1) {
    return fail(error, "bad video parameters");
  }
  av_log_set_level(AV_LOG_FATAL);  // the encoders' statistics are nobody's business here
  const AVCodec* codec = encoderOf(video.codec);
  if (!codec) return fail(error, "no encoder for this codec");
  Writer w;
  if (avformat_alloc_output_context2(&w.format, nullptr, nullptr, video.path.c_str()) < 0 ||
      !w.format) {
    return fail(error, "unknown container for " + video.path);
  }
  w.stream = avformat_new_stream(w.format, nullptr);
  w.encoder = avcodec_alloc_context3(codec);
  w.frame = av_frame_alloc();
  w.packet = av_packet_alloc();
  if (!w.stream || !w.encoder || !w.frame || !w.packet) return fail(error, "out of memory");

  AVCodecContext& c = *w.encoder;
  c.width = video.width;
  c.height = video.height;
  c.time_base = AVRational{1, video.framesPerSecond};
  c.framerate = AVRational{video.framesPerSecond, 1};
  c.gop_size = video.groupOfFrames;
  c.thread_count = 1;
  c.pix_fmt = video.codec == DemoCodec::Mjpeg ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
  if (video.codec == DemoCodec::Mpeg4) {
    c.max_b_frames = 0;
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = FF_QP2LAMBDA * 4;
  } else if (video.codec == DemoCodec::Mjpeg) {
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = FF_QP2LAMBDA * 4;
  } else {
    c.max_b_frames = 2;
    av_opt_set(c.priv_data, "preset", "ultrafast", 0);
    av_opt_set(c.priv_data, "x264-params", "bframes=2:scenecut=0:keyint_min=1", 0);
    av_opt_set(c.priv_data, "crf", "23", 0);
  }
  if (w.format->oformat->flags & AVFMT_GLOBALHEADER) c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(w.encoder, codec, nullptr) < 0) return fail(error, "encoder does not open");
  if (avcodec_parameters_from_context(w.stream->codecpar, w.encoder) < 0) {
    return fail(error, "stream parameters");
  }
  w.stream->time_base = c.time_base;
  if (!(w.format->oformat->flags & AVFMT_NOFILE)) {
    if (avio_open(&w.format->pb, video.path.c_str(), AVIO_FLAG_WRITE) < 0) {
      return fail(error, "cannot write " + video.path);
    }
    w.fileOpen = true;
  }
  // Without an edit list MP4 keeps every frame of a stream with reordered frames; with one,
  // FFmpeg's muxer marks the last frame as not to be shown.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "use_editlist", "0", 0);
  const int header = avformat_write_header(w.format, &options);
  av_dict_free(&options);
  if (header < 0) return fail(error, "header not written");

  w.frame->format = c.pix_fmt;
  w.frame->width = c.width;
  w.frame->height = c.height;
  if (av_frame_get_buffer(w.frame, 0) < 0) return fail(error, "out of memory");
  const bool fullRange = video.codec == DemoCodec::Mjpeg;
  for (int k = 1; k <= video.frames; ++k) {
    if (av_frame_make_writable(w.frame) < 0) return fail(error, "frame not writable");
    for (int y = 0; y < c.height; ++y) {
      std::uint8_t* line = w.frame->data[0] + static_cast<std::ptrdiff_t>(y) * w.frame->linesize[0];
      const int row = std::min(kCodeRows - 1, y * kCodeRows / c.height);
      for (int x = 0; x < c.width; ++x) {
        const int column = std::min(kCodeColumns - 1, x * kCodeColumns / c.width);
        const int level =
            video.grey ? std::clamp(video.grey(k, x, y), 0, 255) : frameCodeBlock(k, row, column);
        line[x] = static_cast<std::uint8_t>(fullRange ? level : 16 + level * 219 / 255);
      }
    }
    for (int plane = 1; plane <= 2; ++plane) {
      for (int y = 0; y < c.height / 2; ++y) {
        std::fill_n(
            w.frame->data[plane] + static_cast<std::ptrdiff_t>(y) * w.frame->linesize[plane],
            c.width / 2, std::uint8_t{128});
      }
    }
    w.frame->pts = k - 1;
    if (!w.encode(w.frame)) return fail(error, "frame not encoded");
  }
  if (!w.encode(nullptr)) return fail(error, "frames not flushed");
  if (av_write_trailer(w.format) < 0) return fail(error, "trailer not written");
  return true;
}

}  // namespace quorvel::viewer::video
