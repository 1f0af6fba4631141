// Stands in for an FFmpeg built without libx264: no encoder is found by its name. The video test
// loads it into the renderer with LD_PRELOAD.
struct AVCodec;

extern "C" const AVCodec* avcodec_find_encoder_by_name(const char*) {
  return nullptr;
}
