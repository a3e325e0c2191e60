# Sourced by scripts that start Windows programs drawing text beside our drawing layer: the font
# files fontconfig gives our layer, as Wine paths, so both sides draw with the same files.
#   wine_font_files FAMILY... -- STYLE...   sets wine_fonts to Z:\... of each family in each style
#                                           that fontconfig has
wine_font_files() {
  local families=() family style file
  while [ $# -gt 0 ] && [ "$1" != -- ]; do families+=("$1"); shift; done
  shift || true
  wine_fonts=()
  for family in "${families[@]}"; do
    for style in "$@"; do
      file="$(fc-match -f '%{file}' "$family:style=$style")"
      [ -f "$file" ] && wine_fonts+=("Z:${file//\//\\}")
    done
  done
  return 0
}
