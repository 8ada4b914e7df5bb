// The add-on's own error codes, beside the host's APIERR_ codes.
#pragma once

#include "API/Errors.hpp"

using ErrCode = GSErrCode;

constexpr ErrCode COVERR_GENERAL = static_cast<ErrCode>(0x800A0001);
constexpr ErrCode COVERR_LOGIC = static_cast<ErrCode>(0x800A0002);
constexpr ErrCode COVERR_HANDLED = static_cast<ErrCode>(0x800A0003);
constexpr ErrCode COVERR_SLAB_REF_PLANE_CORE = static_cast<ErrCode>(0x800A0004);
constexpr ErrCode COVERR_FAV_UNAVAILABLE = static_cast<ErrCode>(0x800A0009);
constexpr ErrCode COVERR_DOUBLE_ADD = static_cast<ErrCode>(0x800A000A);
constexpr ErrCode COVERR_HOLE_LINKS = static_cast<ErrCode>(0x800A000B);
constexpr ErrCode COVERR_PROPERTY_ELEMENTID = static_cast<ErrCode>(0x800A000C);
constexpr ErrCode COVERR_ID = static_cast<ErrCode>(0x800A000D);
constexpr ErrCode COVERR_USERDATA = static_cast<ErrCode>(0x800A000E);
constexpr ErrCode COVERR_ZONE_STORY = static_cast<ErrCode>(0x800A000F);
constexpr ErrCode COVERR_COVFAV_STORY = static_cast<ErrCode>(0x800A0010);
constexpr ErrCode COVERR_UPDATE_INCONSISTENCY = static_cast<ErrCode>(0x800A0011);
constexpr ErrCode COVERR_PARAM_WRITE = static_cast<ErrCode>(0x800A0014);
constexpr ErrCode COVERR_PARAM_READ = static_cast<ErrCode>(0x800A0015);
constexpr ErrCode COVERR_POLY_REGULARIZATION = static_cast<ErrCode>(0x800A001E);
constexpr ErrCode COVERR_ROOMS_UNRESERVED = static_cast<ErrCode>(0x800A0028);
