// The page's test build: what the recorded story hands to the page (tests/web_story.cpp).
mergeInto(LibraryManager.library, {
  talmyr_report_line: function(lang, line) {
    var r = Module.talmyrReport;
    var l = UTF8ToString(lang);
    (r.lines[l] = r.lines[l] || []).push(UTF8ToString(line));
  },
  talmyr_report_picture: function(lang, name, px, n) {
    var r = Module.talmyrReport;
    var l = UTF8ToString(lang);
    var a = HEAPU16.subarray(px >> 1, (px >> 1) + n);
    var s = new Array(n);
    for (var i = 0; i < n; i++) s[i] = (a[i] | 0x10000).toString(16).slice(1);
    (r.pictures[l] = r.pictures[l] || {})[UTF8ToString(name)] = s.join(String());
  },
  talmyr_report_kept: function(page, offered) {
    var kept = Object.keys(localStorage).filter(function(k) { return /^talmyr\.kept-game/.test(k); });
    Module.talmyrReport.forgotten[UTF8ToString(page)] = [!!offered, kept];
  },
  talmyr_report_done: function(ok) {
    Module.talmyrReport.ok = !!ok;
    Module.talmyrReport.done = true;
  }
});
