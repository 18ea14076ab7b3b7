#!/bin/sh
# Splits a merged Unihan file into Unihan_*.txt files the way Unicode
# publishes them: each field goes to the file of its group, and every file
# keeps the code-point order of the input. Usage: split-unihan.sh MERGED OUTDIR
set -eu
mkdir -p "$2"
awk -F '\t' -v dir="$2" '
function put(file, fields,   f, n, i) {
  n = split(fields, f, " ")
  for (i = 1; i <= n; i++) group[f[i]] = file
}
BEGIN {
  put("IRGSources", "kRSUnicode kTotalStrokes kIICore kCompatibilityVariant")
  put("RadicalStrokeCounts", "kRSKangXi kRSKanWa kRSKorean kRSJapanese kRSVantu_Japan1_6")
  put("Readings", "kCantonese kDefinition kHangul kHanyuPinlu kHanyuPinyin kJapaneseKun " \
      "kJapaneseOn kKorean kMandarin kTang kTGHZ2013 kVietnamese kXHC1983")
  put("DictionaryIndices", "kCheungBauerIndex kCihaiT kCowles kDaeJaweon kFennIndex kGSR " \
      "kHanYu kIRGDaeJaweon kIRGDaiKanwaZiten kIRGHanyuDaZidian kIRGKangXi kKangXi " \
      "kKarlgren kLau kMatthews kMeyerWempe kMorohashi kNelson kSBGY")
  put("DictionaryLikeData", "kAlternateTotalStrokes kCangjie kCheungBauer kFenn " \
      "kFourCornerCode kFrequency kGradeLevel kHDZRadBreak kHKGlyph kPhonetic kStrange " \
      "kUnihanCore2020")
  put("Variants", "kSemanticVariant kSimplifiedVariant kSpecializedSemanticVariant " \
      "kSpoofingVariant kTraditionalVariant kZVariant")
  put("NumericValues", "kAccountingNumeric kOtherNumeric kPrimaryNumeric")
}
/^U\+/ {
  g = ($2 in group) ? group[$2] : ($2 ~ /^kIRG_/ ? "IRGSources" : "OtherMappings")
  print > (dir "/Unihan_" g ".txt")
}' "$1"
