# After moving or changing a line of the game's text: the catalogues' `#: file:line` references
# written anew (the suite checks they are where the texts are).
.PHONY: po-refs
po-refs:
	/usr/bin/python3 tools/pot_refs.py .
