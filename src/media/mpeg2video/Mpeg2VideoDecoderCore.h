// The MPEG-2 (and MPEG-1) video decoder core: a plain record with free operations on it. The caller
// appends elementary-stream bytes, calls DecodeStep in a loop, calls AllocatePictureBuffers after
// every sequence header and DecodeSlices after every picture header, and takes decoded pictures
// in display order from the two-entry output queue. Syntax and semantics: ISO/IEC 13818-2 and
// ISO/IEC 11172-2. Nothing here knows of DirectShow or of the platform.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mpeg2video {

struct VlcTables;

struct Mpeg2VideoDecoderCore;

// One frame: luma, then Cb and Cr. All three planes share one line pitch (the luma width): in 4:2:0
// and 4:2:2 the Cb and Cr lines alternate (Cr starts one chroma width after Cb), in 4:4:4 Cr follows
// the whole Cb plane. The top field lies on the even lines and the bottom field on the odd ones.
struct PictureBuffer {
    uint8_t* luma = nullptr;
    uint8_t* cb = nullptr;
    uint8_t* cr = nullptr;
    uint8_t* end = nullptr;       // one past the storage
    uint32_t lumaRows = 0;        // vertical_size
    uint32_t chromaRows = 0;
    uint32_t pitch = 0;           // luma width: line pitch of all three planes
    uint8_t pictureCodingType = 0;
    uint8_t* storage = nullptr;   // owned block
    size_t storageSize = 0;
};

// Routine slots, filled once per context by processor detection.
typedef void (*InverseTransformRoutine)(int16_t* block);
typedef void (*BlockWriterRoutine)(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch);
typedef void (*PredictionRoutine)(uint8_t* dest, const uint8_t* src, int width, int rows, ptrdiff_t neighbour,
                                  ptrdiff_t step);

enum PredictionSlot {
    kPutFull, kPutVertical, kPutHorizontal, kPutBoth,
    kAverageFull, kAverageVertical, kAverageHorizontal, kAverageBoth,
    kPredictionSlots
};

// Capability word bits at the positions where the processor's identification instruction reports them.
constexpr uint32_t kCpuMmx = 1u << 23;
constexpr uint32_t kCpuSse = 1u << 25;
constexpr uint32_t kCpuSse2 = 1u << 26;

struct ProcessorRecord {
    char vendor[13] = {};
    uint32_t capabilities = 0;
};

// DecodeStep results.
enum : int {
    kStepWait = 0,
    kStepSequenceHeader = 1,
    kStepSequenceEnd = 2,
    kStepGroupOfPictures = 3,
    kStepPicture = 4,
    kStepNotReady = 998,
    kStepEmpty = 999,
    kStepOther = 1000,
};

constexpr size_t kInputCapacity = 5242880;
constexpr size_t kInputPadding = 64;      // zeroed bytes behind the data, so reads past the end see zeros

struct Mpeg2VideoDecoderCore {
    // Input buffer and bit reader: `window` holds the next bits MSB first; `count` is 16 minus the
    // number of valid bits (16: empty; refills take 16 bits from `ptr` whenever it is above 0).
    uint8_t* input = nullptr;
    size_t capacity = 0;
    size_t endPos = 0;             // end of data
    const uint8_t* ptr = nullptr;  // next byte the reader loads
    uint32_t window = 0;
    int count = 16;

    // Sequence header.
    uint16_t horizontal_size = 0;
    uint16_t vertical_size = 0;
    uint8_t aspect_ratio_information = 0;
    uint8_t frame_rate_code = 0;
    uint32_t bit_rate = 0;
    uint16_t vbv_buffer_size = 0;
    uint8_t constrained_parameters_flag = 0;
    // The sequence for which the picture buffers were made.
    uint16_t savedHorizontalSize = 0;
    uint16_t savedVerticalSize = 0;
    uint8_t savedAspect = 0;
    uint8_t savedFrameRateCode = 0;
    uint32_t savedBitRate = 0;
    uint16_t savedVbvBufferSize = 0;
    uint8_t savedChromaFormat = 0;

    // Sequence extension.
    uint32_t profile = 0;
    uint32_t level = 0;
    uint8_t progressive_sequence = 0;
    uint8_t chroma_format = 1;
    uint8_t low_delay = 0;
    uint8_t frame_rate_extension_n = 0;
    uint8_t frame_rate_extension_d = 0;

    // Sequence display extension.
    uint8_t video_format = 0;
    uint8_t colour_description = 0;
    uint8_t colour_primaries = 0;
    uint8_t transfer_characteristics = 0;
    uint8_t matrix_coefficients = 0;
    uint16_t display_horizontal_size = 0;
    uint16_t display_vertical_size = 0;

    // Sequence scalable extension (scalableMode = scalable_mode + 1; 0: none).
    uint8_t scalableMode = 0;
    uint8_t layer_id = 0;
    uint16_t lower_layer_prediction_horizontal_size = 0;
    uint16_t lower_layer_prediction_vertical_size = 0;
    uint8_t horizontal_subsampling_factor_m = 0;
    uint8_t horizontal_subsampling_factor_n = 0;
    uint8_t vertical_subsampling_factor_m = 0;
    uint8_t vertical_subsampling_factor_n = 0;

    // Picture header.
    uint16_t temporal_reference = 0;
    uint8_t picture_coding_type = 0;
    uint16_t vbv_delay = 0;
    uint8_t full_pel_forward_vector = 0;
    uint8_t forward_f_code = 0;
    uint8_t full_pel_backward_vector = 0;
    uint8_t backward_f_code = 0;

    // Picture coding extension.
    uint8_t f_code[2][2] = {};
    uint8_t intra_dc_precision = 0;
    uint8_t picture_structure = 3;
    uint8_t top_field_first = 0;
    uint8_t frame_pred_frame_dct = 1;
    uint8_t concealment_motion_vectors = 0;
    uint8_t q_scale_type = 0;
    uint8_t intra_vlc_format = 0;
    uint8_t alternate_scan = 0;
    uint8_t repeat_first_field = 0;
    uint8_t chroma_420_type = 0;
    uint8_t progressive_frame = 1;
    uint8_t composite_display_flag = 0;
    uint8_t v_axis = 0;
    uint8_t field_sequence = 0;
    uint8_t sub_carrier = 0;
    uint8_t burst_amplitude = 0;
    uint8_t sub_carrier_phase = 0;

    // Picture display extension.
    int16_t frame_centre_horizontal_offset[3] = {};
    int16_t frame_centre_vertical_offset[3] = {};

    // Picture spatial scalable extension.
    uint8_t spatialScalablePresent = 0;
    uint16_t lower_layer_temporal_reference = 0;
    int16_t lower_layer_horizontal_offset = 0;
    int16_t lower_layer_vertical_offset = 0;
    uint8_t spatial_temporal_weight_code_table_index = 0;
    uint8_t lower_layer_progressive_frame = 0;
    uint8_t lower_layer_deinterlaced_field_select = 0;

    // Copyright extension.
    uint8_t copyright_flag = 0;
    uint8_t copyright_identifier = 0;
    uint8_t original_or_copy = 0;
    uint32_t copyright_number_1 = 0;
    uint32_t copyright_number_2 = 0;
    uint32_t copyright_number_3 = 0;

    // Group of pictures.
    uint8_t drop_frame_flag = 0;
    uint8_t time_code_hours = 0;
    uint8_t time_code_minutes = 0;
    uint8_t time_code_seconds = 0;
    uint8_t time_code_pictures = 0;
    uint8_t closed_gop = 0;
    uint8_t broken_link = 0;

    // Quantiser matrices in raster order: intra, non-intra, chroma intra, chroma non-intra.
    uint8_t loadMatrix[4] = {};
    uint32_t matrix[4][64] = {};
    // Each matrix times the quantiser scale in scan order, the raster position in the low byte,
    // made when first needed for the scale and scan in hand (the key) and forgotten when the
    // matrices change.
    uint32_t scanWeights[4][64] = {};
    uint32_t scanWeightsKey[4] = {~0u, ~0u, ~0u, ~0u};

    uint8_t mpeg2 = 0;              // a sequence extension has been seen since the last sequence header
    uint32_t quantiser_scale = 0;   // of the slice or macroblock in hand
    uint8_t intra_slice = 0;

    // Geometry.
    uint32_t mbWidth = 0, mbHeight = 0;
    uint32_t lumaWidth = 0, lumaHeight = 0;
    uint32_t chromaWidth = 0, chromaHeight = 0;
    uint32_t blocksPerMacroblock = 6;

    // 1 while the second field of a frame coded as two field pictures is decoded.
    uint32_t secondField = 0;
    uint8_t firstFieldPending = 0;      // the last picture was a first field awaiting its partner
    uint8_t firstFieldStructure = 0;
    uint8_t firstFieldCodingType = 0;

    double frameRate = 0.0;
    double bitRate = 0.0;

    // Decode-step state.
    uint8_t drain = 0;
    size_t pictureScanned = 0;     // bytes behind a waiting picture's start code searched for its end
    uint8_t sequenceReady = 0;
    uint8_t error = 0;
    uint8_t nonMainProfile = 0;
    int8_t skipLevel = 10;

    // Tables made at creation.
    const VlcTables* vlc = nullptr;     // the shared code tables, looked up once per context
    uint8_t* pixelClamp = nullptr;      // index -32768..32767 (pointer at index 0)
    int16_t* saturation = nullptr;      // index -32768..32767 (pointer at index 0), -2048..2047
    uint8_t* pixelClampStorage = nullptr;
    int16_t* saturationStorage = nullptr;
    int16_t* blocks = nullptr;          // twelve blocks of 64 coefficients, 16-byte aligned
    void* blockStorage = nullptr;

    // Processor record and routine slots.
    ProcessorRecord processor;
    InverseTransformRoutine inverseTransform = nullptr;
    InverseTransformRoutine inverseTransformDc = nullptr; // blocks of a DC term and mismatch bit only
    BlockWriterRoutine putBlock = nullptr;
    BlockWriterRoutine addBlock = nullptr;
    PredictionRoutine predict[kPredictionSlots] = {};

    // Picture buffers.
    PictureBuffer* forwardReference = nullptr;
    PictureBuffer* backwardReference = nullptr;
    PictureBuffer* bPicture[2] = {};
    PictureBuffer* current = nullptr;

    // Output queue.
    struct OutputSlot {
        int32_t key;
        PictureBuffer* picture;
    };
    OutputSlot outputQueue[2] = {};
    int outputCount = 0;
    int32_t lastOutputKey = 0;
    uint8_t firstOutputPending = 1; // nothing output since the queue was last cleared

    // Per-macroblock state kept from macroblock to macroblock (a skipped macroblock repeats it).
    uint8_t macroblock_type = 0;
    uint8_t motion_type = 0;
    uint8_t dct_type = 0;
    uint8_t motionVectorCount = 1;
    uint8_t mvFormatFrame = 1;
    uint8_t dualPrime = 0;
    uint8_t verticalScale = 0;
};

// Stream and header layer.
int CreateDecoder(Mpeg2VideoDecoderCore** out);
int DestroyDecoder(Mpeg2VideoDecoderCore* core);
// 0 when appended, -1 when the chunk does not fit (it is then dropped whole).
int AppendInput(Mpeg2VideoDecoderCore* core, const uint8_t* bytes, size_t length);
void ResetInput(Mpeg2VideoDecoderCore* core);
// At the end of a stream: pictures are then begun whatever is buffered (otherwise only once the start
// code that ends them has arrived).
void SetDrain(Mpeg2VideoDecoderCore* core);
int DecodeStep(Mpeg2VideoDecoderCore* core);
// True when new picture buffers were made; call after every result kStepSequenceHeader.
bool AllocatePictureBuffers(Mpeg2VideoDecoderCore* core);
uint32_t ParseSliceHeader(Mpeg2VideoDecoderCore* core);
void RotatePictureBuffers(Mpeg2VideoDecoderCore* core);
void QueueOutputPicture(Mpeg2VideoDecoderCore* core);
PictureBuffer* PopOutputPicture(Mpeg2VideoDecoderCore* core);
PictureBuffer* PopOutputPictureWhenFull(Mpeg2VideoDecoderCore* core);
void ClearOutputQueue(Mpeg2VideoDecoderCore* core);
// Bytes between the reader's position and the end of data.
size_t BufferedBytes(const Mpeg2VideoDecoderCore* core);

// Picture layer: decodes the slices of the picture whose header DecodeStep just reported.
int DecodeSlices(Mpeg2VideoDecoderCore* core);

// Processor dispatch.
void DetectProcessor(ProcessorRecord* record);
void SelectInverseTransform(Mpeg2VideoDecoderCore* core);
void SelectBlockWriters(Mpeg2VideoDecoderCore* core);
void SelectPredictionRoutines(Mpeg2VideoDecoderCore* core);
// Refills the routine slots as if the processor had the given capability word (tests pass 0 to
// run the portable routines).
void SelectRoutines(Mpeg2VideoDecoderCore* core, uint32_t capabilities);

} // namespace mpeg2video
