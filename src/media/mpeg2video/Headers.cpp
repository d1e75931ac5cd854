#include "media/mpeg2video/Headers.h"

#include <cstring>

#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/BlockDecoder.h"
#include "media/mpeg2video/Tables.h"

namespace mpeg2video {

namespace {

void ReadMatrix(base::CByteReader& r, uint32_t* matrix)
{
    for (int i = 0; i < 64; ++i)
        matrix[kScan[0][i]] = r.Bits(8);
}

void ParseSequenceExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->mpeg2 = 1;
    c->scalableMode = 0;
    c->layer_id = 0;
    const uint32_t pl = r.Bits(8);
    if (!(pl & 0x80)) {
        c->profile = (pl >> 4) & 7;
        c->level = pl & 15;
    } else if (pl == 0x85) {
        c->profile = 133;
        c->level = 8;
    }
    c->nonMainProfile = (c->profile != 4 && c->profile != 5) ? 1 : 0;
    c->progressive_sequence = uint8_t(r.Bits(1));
    c->chroma_format = uint8_t(r.Bits(2));
    const uint32_t hExt = r.Bits(2);
    const uint32_t vExt = r.Bits(2);
    c->horizontal_size = uint16_t((c->horizontal_size & 0x0FFF) | (hExt << 12));
    c->vertical_size = uint16_t((c->vertical_size & 0x0FFF) | (vExt << 12));
    c->bit_rate += r.Bits(12) << 18;
    r.Bits(1);
    c->vbv_buffer_size = uint16_t(c->vbv_buffer_size + (r.Bits(8) << 10));
    c->low_delay = uint8_t(r.Bits(1));
    c->frame_rate_extension_n = uint8_t(r.Bits(2));
    c->frame_rate_extension_d = uint8_t(r.Bits(5));
    c->frameRate = FrameRateValue(c->frame_rate_code) * (c->frame_rate_extension_n + 1) /
                   (c->frame_rate_extension_d + 1);
    c->bitRate = c->bit_rate * 400.0;
}

void ParseSequenceDisplayExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->video_format = uint8_t(r.Bits(3));
    c->colour_description = uint8_t(r.Bits(1));
    if (c->colour_description) {
        c->colour_primaries = uint8_t(r.Bits(8));
        c->transfer_characteristics = uint8_t(r.Bits(8));
        c->matrix_coefficients = uint8_t(r.Bits(8));
    }
    c->display_horizontal_size = uint16_t(r.Bits(14));
    r.Bits(1);
    c->display_vertical_size = uint16_t(r.Bits(14));
}

void ParseQuantMatrixExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    for (int m = 0; m < 4; ++m) {
        if (!r.Bits(1))
            continue;
        c->loadMatrix[m] = 1;
        ReadMatrix(r, c->matrix[m]);
        if (m < 2)
            std::memcpy(c->matrix[m + 2], c->matrix[m], sizeof c->matrix[m]);
    }
    ForgetScanWeights(c);
}

void ParseCopyrightExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->copyright_flag = uint8_t(r.Bits(1));
    c->copyright_identifier = uint8_t(r.Bits(8));
    c->original_or_copy = uint8_t(r.Bits(1));
    r.Bits(7);
    r.Bits(1);
    c->copyright_number_1 = r.Bits(20);
    r.Bits(1);
    c->copyright_number_2 = r.Bits(22);
    r.Bits(1);
    c->copyright_number_3 = r.Bits(22);
}

void ParseSequenceScalableExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    const uint32_t mode = r.Bits(2);
    c->scalableMode = uint8_t(mode + 1);
    c->layer_id = uint8_t(r.Bits(4));
    if (mode == 1) { // spatial scalability
        c->lower_layer_prediction_horizontal_size = uint16_t(r.Bits(14));
        r.Bits(1);
        c->lower_layer_prediction_vertical_size = uint16_t(r.Bits(14));
        c->horizontal_subsampling_factor_m = uint8_t(r.Bits(5));
        c->horizontal_subsampling_factor_n = uint8_t(r.Bits(5));
        c->vertical_subsampling_factor_m = uint8_t(r.Bits(5));
        c->vertical_subsampling_factor_n = uint8_t(r.Bits(5));
    }
}

void ParsePictureDisplayExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    // ISO/IEC 13818-2 6.3.12
    unsigned n;
    if (c->progressive_sequence)
        n = c->repeat_first_field ? (c->top_field_first ? 3 : 2) : 1;
    else if (c->picture_structure != 3)
        n = 1;
    else
        n = c->repeat_first_field ? 3 : 2;
    for (unsigned i = 0; i < n; ++i) {
        c->frame_centre_horizontal_offset[i] = int16_t(r.Bits(16));
        r.Bits(1);
        c->frame_centre_vertical_offset[i] = int16_t(r.Bits(16));
        r.Bits(1);
    }
}

void ParsePictureCodingExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->f_code[0][0] = uint8_t(r.Bits(4));
    c->f_code[0][1] = uint8_t(r.Bits(4));
    c->f_code[1][0] = uint8_t(r.Bits(4));
    c->f_code[1][1] = uint8_t(r.Bits(4));
    c->intra_dc_precision = uint8_t(r.Bits(2));
    c->picture_structure = uint8_t(r.Bits(2));
    c->top_field_first = uint8_t(r.Bits(1));
    c->frame_pred_frame_dct = uint8_t(r.Bits(1));
    c->concealment_motion_vectors = uint8_t(r.Bits(1));
    c->q_scale_type = uint8_t(r.Bits(1));
    c->intra_vlc_format = uint8_t(r.Bits(1));
    c->alternate_scan = uint8_t(r.Bits(1));
    c->repeat_first_field = uint8_t(r.Bits(1));
    c->chroma_420_type = uint8_t(r.Bits(1));
    c->progressive_frame = uint8_t(r.Bits(1));
    c->composite_display_flag = uint8_t(r.Bits(1));
    if (c->composite_display_flag) {
        c->v_axis = uint8_t(r.Bits(1));
        c->field_sequence = uint8_t(r.Bits(3));
        c->sub_carrier = uint8_t(r.Bits(1));
        c->burst_amplitude = uint8_t(r.Bits(7));
        c->sub_carrier_phase = uint8_t(r.Bits(8));
    }
}

int16_t SignExtend15(uint32_t v) { return int16_t(v & 0x4000 ? int32_t(v) - 0x8000 : int32_t(v)); }

void ParsePictureSpatialScalableExtension(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->spatialScalablePresent = 1;
    c->lower_layer_temporal_reference = uint16_t(r.Bits(10));
    r.Bits(1);
    c->lower_layer_horizontal_offset = SignExtend15(r.Bits(15));
    r.Bits(1);
    c->lower_layer_vertical_offset = SignExtend15(r.Bits(15));
    c->spatial_temporal_weight_code_table_index = uint8_t(r.Bits(2));
    c->lower_layer_progressive_frame = uint8_t(r.Bits(1));
    c->lower_layer_deinterlaced_field_select = uint8_t(r.Bits(1));
}

} // namespace

void ParseSequenceHeader(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->nonMainProfile = 0;
    c->mpeg2 = 0;
    c->horizontal_size = uint16_t(r.Bits(12));
    c->vertical_size = uint16_t(r.Bits(12));
    c->aspect_ratio_information = uint8_t(r.Bits(4));
    c->frame_rate_code = uint8_t(r.Bits(4));
    c->bit_rate = r.Bits(18);
    r.Bits(1);
    c->vbv_buffer_size = uint16_t(r.Bits(10));
    c->constrained_parameters_flag = uint8_t(r.Bits(1));
    c->frameRate = FrameRateValue(c->frame_rate_code);
    c->loadMatrix[0] = uint8_t(r.Bits(1));
    if (c->loadMatrix[0])
        ReadMatrix(r, c->matrix[0]);
    else
        for (int i = 0; i < 64; ++i)
            c->matrix[0][i] = kDefaultIntraMatrix[i];
    c->loadMatrix[1] = uint8_t(r.Bits(1));
    if (c->loadMatrix[1])
        ReadMatrix(r, c->matrix[1]);
    else
        for (int i = 0; i < 64; ++i)
            c->matrix[1][i] = 16;
    c->loadMatrix[2] = c->loadMatrix[3] = 0;
    std::memcpy(c->matrix[2], c->matrix[0], sizeof c->matrix[0]);
    std::memcpy(c->matrix[3], c->matrix[1], sizeof c->matrix[1]);
    ForgetScanWeights(c);
    // MPEG-1 defaults until a sequence extension says otherwise.
    c->progressive_sequence = 1;
    c->chroma_format = 1;
}

void ParseGOPHeader(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->drop_frame_flag = uint8_t(r.Bits(1));
    c->time_code_hours = uint8_t(r.Bits(5));
    c->time_code_minutes = uint8_t(r.Bits(6));
    r.Bits(1);
    c->time_code_seconds = uint8_t(r.Bits(6));
    c->time_code_pictures = uint8_t(r.Bits(6));
    c->closed_gop = uint8_t(r.Bits(1));
    c->broken_link = uint8_t(r.Bits(1));
}

void ParsePictureHeader(Mpeg2VideoDecoderCore* c, base::CByteReader& r)
{
    c->spatialScalablePresent = 0;
    c->temporal_reference = uint16_t(r.Bits(10));
    c->picture_coding_type = uint8_t(r.Bits(3));
    if (c->outputCount > 0 && c->temporal_reference < c->outputQueue[0].key &&
        c->temporal_reference < c->lastOutputKey)
        c->outputQueue[0].key = -3;
    c->vbv_delay = uint16_t(r.Bits(16));
    if (c->picture_coding_type == 2 || c->picture_coding_type == 3) {
        c->full_pel_forward_vector = uint8_t(r.Bits(1));
        c->forward_f_code = uint8_t(r.Bits(3));
        if (c->picture_coding_type == 3) {
            c->full_pel_backward_vector = uint8_t(r.Bits(1));
            c->backward_f_code = uint8_t(r.Bits(3));
        }
    }
    while (r.Bits(1) && !r.Overrun())
        r.Bits(8);
    if (!c->mpeg2) {
        // An MPEG-1 picture is a progressive frame picture.
        c->picture_structure = 3;
        c->frame_pred_frame_dct = 1;
        c->progressive_frame = 1;
        c->intra_dc_precision = 0;
        c->q_scale_type = 0;
        c->intra_vlc_format = 0;
        c->alternate_scan = 0;
        c->concealment_motion_vectors = 0;
    }
}

void ParseExtension(Mpeg2VideoDecoderCore* c, unsigned identifier, base::CByteReader& r)
{
    switch (identifier) {
    case 1: ParseSequenceExtension(c, r); break;
    case 2: ParseSequenceDisplayExtension(c, r); break;
    case 3: ParseQuantMatrixExtension(c, r); break;
    case 4: ParseCopyrightExtension(c, r); break;
    case 5: ParseSequenceScalableExtension(c, r); break;
    case 7: ParsePictureDisplayExtension(c, r); break;
    case 8: ParsePictureCodingExtension(c, r); break;
    case 9: ParsePictureSpatialScalableExtension(c, r); break;
    default: break;
    }
}

bool ParseHeaderUnit(Mpeg2VideoDecoderCore* c, size_t pos, void (*parse)(Mpeg2VideoDecoderCore*, base::CByteReader&))
{
    // Parse into a copy: a header that turns out to be incomplete leaves the core as it was.
    Mpeg2VideoDecoderCore copy = *c;
    Mpeg2VideoDecoderCore* work = &copy;
    bool complete = true;
    size_t next = FindStartCode(c, pos);
    if (next == c->endPos && !c->drain)
        complete = false;
    else {
        base::CByteReader r(c->input + pos, next - pos);
        parse(work, r);
        if (r.Overrun()) {
            // Cut short by the start code behind it, the header can never be completed: waiting
            // for more input would stall the stream for good. It is passed over, the core unchanged.
            if (next != c->endPos)
                SeekReader(c, next);
            return false;
        }
    }
    // Extensions and user data, each bounded by the start code that follows it. A sequence
    // extension belongs right behind its sequence header (ISO/IEC 13818-2 6.2.2): anywhere else it
    // is a damaged identifier, and taking it would change the picture geometry in mid-sequence.
    bool sequenceExtensionPlace = parse == ParseSequenceHeader;
    while (complete && next + 4 <= c->endPos) {
        const uint8_t code = c->input[next + 3];
        if (code != 0xB5 && code != 0xB2)
            break;
        const size_t body = next + 4;
        const size_t following = FindStartCode(c, body);
        if (following == c->endPos && !c->drain) {
            complete = false;
            break;
        }
        if (code == 0xB5) {
            base::CByteReader r(c->input + body, following - body);
            const unsigned id = r.Bits(4);
            if (id != 1 || sequenceExtensionPlace)
                ParseExtension(work, id, r);
            // An extension cut short is ignored like a reserved one; its fields are taken as read.
        }
        sequenceExtensionPlace = false;
        next = following;
    }
    if (complete) {
        *c = copy;
        SeekReader(c, next);
    }
    return complete;
}

uint32_t ParseSliceHeader(Mpeg2VideoDecoderCore* c)
{
    uint32_t extension = 0;
    if (c->mpeg2 && c->vertical_size > 2800)
        extension = ReadBits(c, 3);
    const uint32_t code = ReadBits(c, 5);
    if (!c->mpeg2)
        c->quantiser_scale = code;
    else if (c->q_scale_type)
        c->quantiser_scale = kNonLinearQuantiserScale[code];
    else
        c->quantiser_scale = code * 2;
    if (ReadBit(c)) {
        c->intra_slice = uint8_t(ReadBit(c));
        ReadBits(c, 7);
        while (ReadBit(c) && !PastEnd(c))
            ReadBits(c, 8);
    } else {
        c->intra_slice = 0;
    }
    return extension;
}

} // namespace mpeg2video
