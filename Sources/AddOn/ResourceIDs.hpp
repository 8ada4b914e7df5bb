// Resource IDs of the add-on's own resource file.
#pragma once

#include "GS/Types.hpp"

// String lists.
constexpr GSResID ID_STR_ADDON_INFO = 32000; // 1: the add-on's name, 2: the format of its description
constexpr GSResID ID_STR_UNDO_NAMES = 31100; // 1: add, 2: update, 3: remove coverings
constexpr GSResID ID_STR_ALERTS = 31101;     // texts of the fixed error and information alerts

// Alerts.
constexpr GSResID ID_ALERT_ADD_SUMMARY = 31110;
constexpr GSResID ID_ALERT_ADD_FAILED = 31122;
constexpr GSResID ID_ALERT_UPDATE_FAILED = 31123;
constexpr GSResID ID_ALERT_SLAB_REF_PLANE = 31124;
constexpr GSResID ID_ALERT_PALETTE_FAILED = 31125;
constexpr GSResID ID_ALERT_RESERVE_ADD = 31130;
constexpr GSResID ID_ALERT_RESERVE_UPDATE = 31131;
constexpr GSResID ID_ALERT_RESERVE_REMOVE = 31132;

// The palette and the dialogs.
constexpr GSResID ID_PALETTE = 31500;
constexpr GSResID ID_DIALOG_FAVORITES = 31501;
constexpr GSResID ID_DIALOG_SETTINGS = 31502;
constexpr GSResID ID_DIALOG_PROPERTY = 31503;

// Menus.
constexpr GSResID ID_MENU_PALETTE = 32500; // 1: shows or hides the palette
