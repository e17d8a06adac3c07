# The translations in step with the code. The build extracts every text written _("...") in game/,
# with its note for the translators, into $(BUILD)/gen/talmyr.pot (make pot prints where); make po
# merges each data/po/*.po with it: a new text comes in untranslated, a changed one fuzzy with its
# old translation and the old French beside it (#|), a text the game no longer has is kept at the
# end as obsolete (#~); the notes and the files each text is in are refreshed. Then translate what
# is untranslated or fuzzy (test_po names them) and run make references.
.PHONY: pot po
pot: build
	@echo $(BUILD)/gen/talmyr.pot

po: build
	@for po in data/po/*.po; do \
	  msgmerge --quiet --update --backup=none --previous --add-location=file $$po $(BUILD)/gen/talmyr.pot \
	    && msgfmt --statistics --check -o /dev/null $$po || exit 1; done
