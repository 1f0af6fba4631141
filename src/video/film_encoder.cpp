#include "video/film_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <memory>
#include <string>

#include "video/film_plan.h"
#include "video/film_planes.h"
#include "video/memory_mp4_output.h"
#include "video/video_error.h"

namespace card {
namespace {

// Every growth frame repaints a band of some 200 rows (the strokes reach 100 pixels up and down),
// so a film holds dozens of pictures' worth of fine strokes: 4.5 MB for a calm card, 15 for a busy
// one. Tuned for fidelity rather than for the eye's masking (no psycho-visual tuning, no adaptive
// quantization: thin strokes are what the eye looks at here), with the colour planes quantized
// finer, since a stroke's colour is as much of it as its brightness. A calm card's frames come
// back near 40 dB and a busy card's near 35, and a busy card stays below the 16 MB that chat
// services take.
//
// The new strokes of a frame have no motion to find, and where the picture stands still the
// encoder skips at once: motion search by the smallest pattern, no sub-pixel refinement, whole
// macroblocks, no B-frames, no weighted prediction (there are no fades) take 0.44 of the
// instructions of the "veryfast" preset's own choices for the same size and fidelity, and the
// held card costs next to nothing. The deblocking filter and the 8 x 8 transform cost a tenth of
// the rest for less than a tenth of a decibel. The look-ahead stays: it spends the bits on the
// rows that stay, and without it the film is larger and, with more to write, slower.
constexpr char kQuality[] = "25";
constexpr char kPreset[] = "veryfast";
constexpr char kTuning[] =
    "psy=0:aq-mode=0:chroma-qp-offset=-6:bframes=0:me=dia:subme=0:partitions=none:weightp=0:"
    "8x8dct=0:deblock=0";

std::string ErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

void Check(int result, const char* what) {
  if (result < 0) throw VideoError(std::string(what) + ": " + ErrorText(result));
}

template <class T>
T* Made(T* made, const char* what) {
  if (made == nullptr) throw VideoError(std::string("no memory for ") + what);
  return made;
}

struct FreeCodec {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FreeFormat {
  void operator()(AVFormatContext* format) const { avformat_free_context(format); }
};
struct FreeFrame {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct FreePacket {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

const AVCodec* FindEncoder() {
  const AVCodec* encoder = avcodec_find_encoder_by_name(kFilmEncoder);
  if (encoder == nullptr) {
    throw VideoError(std::string("cannot make videos: the H.264 encoder ") + kFilmEncoder +
                     " is missing from this FFmpeg (" + av_version_info() +
                     "); install a libavcodec built with it");
  }
  return encoder;
}

// H.264 as every player takes it: 4:2:0, limited range, tagged BT.709 as HD video is, which is
// also what the frames are converted with.
std::unique_ptr<AVCodecContext, FreeCodec> OpenEncoder(const AVCodec* encoder, int threads,
                                                       bool global_header) {
  std::unique_ptr<AVCodecContext, FreeCodec> codec(
      Made(avcodec_alloc_context3(encoder), "the encoder"));
  codec->width = kFilmWidth;
  codec->height = kFilmHeight;
  codec->pix_fmt = AV_PIX_FMT_YUV420P;
  codec->time_base = AVRational{1, kFilmFramesPerSecond};
  codec->framerate = AVRational{kFilmFramesPerSecond, 1};
  codec->sample_aspect_ratio = AVRational{1, 1};
  codec->color_range = AVCOL_RANGE_MPEG;
  codec->colorspace = AVCOL_SPC_BT709;
  codec->color_primaries = AVCOL_PRI_BT709;
  codec->color_trc = AVCOL_TRC_BT709;
  codec->thread_count = threads;
  if (global_header) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* settings = nullptr;
  av_dict_set(&settings, "crf", kQuality, 0);
  av_dict_set(&settings, "preset", kPreset, 0);
  av_dict_set(&settings, "x264-params", kTuning, 0);
  const int opened = avcodec_open2(codec.get(), encoder, &settings);
  av_dict_free(&settings);
  Check(opened, "cannot open the H.264 encoder");
  return codec;
}

// Only the rows a frame changed are converted, straight into the encoder's frame.
void ConvertRows(const FilmFrame& source, AVFrame* frame) {
  ConvertFilmRows(
      source, FilmRange::kLimited,
      {frame->data[0], frame->data[1], frame->data[2], frame->linesize[0], frame->linesize[1]});
}

class Muxer {
 public:
  Muxer() {
    AVFormatContext* format = nullptr;
    Check(avformat_alloc_output_context2(&format, nullptr, "mp4", nullptr),
          "cannot make an MP4 file");
    format_.reset(format);
    output_.Attach(format);
  }
  AVFormatContext* format() { return format_.get(); }
  bool wants_global_header() const { return (format_->oformat->flags & AVFMT_GLOBALHEADER) != 0; }

  void Start(const AVCodecContext* codec) {
    stream_ = Made(avformat_new_stream(format_.get(), nullptr), "the video stream");
    Check(avcodec_parameters_from_context(stream_->codecpar, codec), "cannot describe the video");
    stream_->time_base = codec->time_base;
    stream_->avg_frame_rate = codec->framerate;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    const std::unique_ptr<AVDictionary*, void (*)(AVDictionary**)> owner(&options, av_dict_free);
    Check(avformat_write_header(format_.get(), &options), "cannot start the MP4 file");
    codec_time_base_ = codec->time_base;
  }

  void Write(AVPacket* packet) {
    av_packet_rescale_ts(packet, codec_time_base_, stream_->time_base);
    packet->stream_index = stream_->index;
    Check(av_interleaved_write_frame(format_.get(), packet), "cannot write the video");
  }

  std::vector<std::uint8_t> Finish() {
    Check(av_write_trailer(format_.get()), "cannot finish the MP4 file");
    return output_.Take();
  }

 private:
  MemoryMp4Output output_;  // outlives the format, which writes to it until freed
  std::unique_ptr<AVFormatContext, FreeFormat> format_;
  AVStream* stream_ = nullptr;
  AVRational codec_time_base_{1, kFilmFramesPerSecond};
};

// Hands the encoder one frame (nullptr: the end) and muxes every packet it has ready.
void Encode(AVCodecContext* codec, const AVFrame* frame, AVPacket* packet, Muxer& muxer) {
  Check(avcodec_send_frame(codec, frame), "cannot encode the video");
  for (;;) {
    const int received = avcodec_receive_packet(codec, packet);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    Check(received, "cannot encode the video");
    muxer.Write(packet);
    av_packet_unref(packet);
  }
}

}  // namespace

void RequireFilmEncoder() {
  FindEncoder();
}

std::vector<std::uint8_t> EncodeFilm(const std::function<FilmFrame()>& next, int threads) {
  const AVCodec* encoder = FindEncoder();
  // FFmpeg's own chatter stays off the terminal; its failures come back as VideoError.
  av_log_set_level(AV_LOG_QUIET);
  Muxer muxer;
  const auto codec = OpenEncoder(encoder, threads, muxer.wants_global_header());
  muxer.Start(codec.get());

  std::unique_ptr<AVFrame, FreeFrame> frame(Made(av_frame_alloc(), "a video frame"));
  frame->format = codec->pix_fmt;
  frame->width = codec->width;
  frame->height = codec->height;
  frame->color_range = codec->color_range;
  frame->colorspace = codec->colorspace;
  frame->color_primaries = codec->color_primaries;
  frame->color_trc = codec->color_trc;
  Check(av_frame_get_buffer(frame.get(), 0), "no memory for a video frame");
  std::unique_ptr<AVPacket, FreePacket> packet(Made(av_packet_alloc(), "a video packet"));

  std::int64_t number = 0;
  for (FilmFrame source = next(); source.picture != nullptr; source = next()) {
    if (source.picture->width() != kPictureWidth || source.picture->height() != kPictureHeight) {
      throw VideoError("a film frame must be the card's size");
    }
    // Keeps the previous frame's pixels, copied should the encoder still hold them: only the
    // changed rows are converted anew.
    Check(av_frame_make_writable(frame.get()), "no memory for a video frame");
    ConvertRows(source, frame.get());
    frame->pts = number++;
    frame->pict_type = source.key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    Encode(codec.get(), frame.get(), packet.get(), muxer);
  }
  Encode(codec.get(), nullptr, packet.get(), muxer);
  return muxer.Finish();
}

}  // namespace card
