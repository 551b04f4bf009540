#pragma once

#include <string_view>

namespace quorvel {

// The lookup page around its lists. The page is one file that opens from
// the disk with no network: its style and script stand in it, and its
// Content-Security-Policy lets only them run ("%STYLE%" and "%SCRIPT%" are
// given their hashes). The lists come as JSON in a data block between the
// body and the script: {"column": the callsign's column, "names": the list
// file names, "lists": each list's lines joined by new lines}. Every byte
// of a log reaches the page as JSON text, which the script puts on the page
// as text, never as markup.

inline constexpr std::string_view kPageStyle = R"(
body { font: 16px/1.4 system-ui, sans-serif; margin: 1em auto; max-width: 60em; padding: 0 1em; color: #111; }
header { display: flex; flex-wrap: wrap; gap: .5em 1em; align-items: baseline; }
h1 { font-size: 1.2em; margin: 0; }
label { font-weight: bold; }
input { font: 1.4em ui-monospace, monospace; padding: .2em .4em; width: 12em; max-width: 100%; text-transform: uppercase; }
#summary { font-weight: bold; }
h2 { font: bold 1.1em ui-monospace, monospace; margin: 1em 0 .2em; }
pre { font: .95em/1.35 ui-monospace, monospace; margin: 0; overflow-x: auto; }
ul { columns: 8em; list-style: none; padding: 0; font-family: ui-monospace, monospace; }
li { display: flex; justify-content: space-between; gap: 1em; padding: .1em .6em .1em 0; }
@media (max-width: 30em) { body { font-size: 14px; } pre { font-size: .85em; } }
@media print {
  body { max-width: none; margin: 0; }
  input { border: none; padding: 0; }
  h2 { break-after: avoid; }
  section { break-inside: avoid; }
}
)";

inline constexpr std::string_view kPageScript = R"(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('lists').textContent);
  var box = document.getElementById('call');
  var summary = document.getElementById('summary');
  var answer = document.getElementById('answer');
  var mostShown = 1000;
  var lists = [];
  var total = 0;

  // A line's callsign is its first word that starts at the callsign's
  // column or after it: a value wider than its field moves it right.
  function callsignOf(line) {
    var at = Math.max(data.column - 1, 0);
    while (at < line.length && (line.charAt(at) === ' ' || (at > 0 && line.charAt(at - 1) !== ' '))) ++at;
    var end = line.indexOf(' ', at);
    return line.substring(at, end < 0 ? line.length : end);
  }

  for (var i = 0; i < data.lists.length; ++i) {
    var lines = data.lists[i] === '' ? [] : data.lists[i].split('\n');
    lists.push({ name: data.names[i], lines: lines, calls: lines.map(callsignOf) });
    total += lines.length;
  }

  function element(tag, text) {
    var made = document.createElement(tag);
    if (text !== undefined) made.textContent = text;
    return made;
  }
  function counted(count, word) { return count + ' ' + word + (count === 1 ? '' : 's'); }

  function overview() {
    summary.textContent = counted(total, 'contact') + ' in ' + lists.length + ' lists';
    var counts = element('ul');
    lists.forEach(function (list) {
      var item = element('li');
      item.appendChild(element('span', list.name));
      item.appendChild(element('span', String(list.lines.length)));
      counts.appendChild(item);
    });
    answer.appendChild(counts);
  }

  function lookUp(prefix) {
    var list = lists[data.names.findIndex(function (name) { return name.charAt(0).toUpperCase() === prefix.charAt(0); })];
    var groups = new Map();
    var found = 0;
    if (list) {
      for (var k = 0; k < list.calls.length; ++k) {
        if (list.calls[k].lastIndexOf(prefix, 0) !== 0) continue;
        if (!groups.has(list.calls[k])) groups.set(list.calls[k], []);
        groups.get(list.calls[k]).push(list.lines[k]);
        ++found;
      }
    }
    if (found === 0) {
      summary.textContent = 'Not worked';
      return;
    }
    summary.textContent = counted(found, 'contact') + ' with ' + counted(groups.size, 'callsign');
    var shown = 0;
    Array.from(groups.keys()).sort().some(function (call) {
      var lines = groups.get(call).slice(0, mostShown - shown);
      var section = element('section');
      section.appendChild(element('h2', call));
      section.appendChild(element('pre', lines.join('\n')));
      answer.appendChild(section);
      shown += lines.length;
      return shown >= mostShown;
    });
    if (shown < found) {
      answer.appendChild(element('p', 'The first ' + shown + ' of ' + found + ' contacts: type more of the callsign.'));
    }
  }

  function show(typed) {
    var began = performance.now();
    var prefix = typed.trim().toUpperCase();
    answer.textContent = '';
    if (prefix === '') overview(); else lookUp(prefix);
    document.body.dataset.answerMs = (performance.now() - began).toFixed(1);
  }

  function fromAddress() {
    var typed = '';
    try { typed = decodeURIComponent(location.hash.slice(1)); } catch (e) { typed = ''; }
    box.value = typed;
    show(typed);
  }

  box.addEventListener('input', function () {
    show(box.value);
    try { history.replaceState(null, '', '#' + encodeURIComponent(box.value.trim().toUpperCase())); } catch (e) {}
  });
  window.addEventListener('hashchange', fromAddress);
  fromAddress();
  box.focus();
  // Since the page began to open: what the benchmarks read.
  document.body.dataset.readyMs = performance.now().toFixed(1);
})();
)";

// Before the style; "%STYLE%" and "%SCRIPT%" stand for their hashes.
inline constexpr std::string_view kPageHead =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src '%SCRIPT%'; "
    "style-src '%STYLE%'; base-uri 'none'; form-action 'none'\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<title>quorvel lookup</title>\n<style>";

// Between the style and the data.
inline constexpr std::string_view kPageBody =
    "</style>\n</head>\n<body>\n<header>\n<h1>Contacts</h1>\n"
    "<label for=\"call\">Callsign</label>\n"
    "<input id=\"call\" type=\"search\" autofocus autocomplete=\"off\" spellcheck=\"false\" "
    "placeholder=\"K1ABC\">\n</header>\n<p id=\"summary\"></p>\n<div id=\"answer\"></div>\n"
    "<script type=\"application/json\" id=\"lists\">";

// Between the data and the script.
inline constexpr std::string_view kPageDataEnd = "</script>\n<script>";

inline constexpr std::string_view kPageEnd = "</script>\n</body>\n</html>\n";

}  // namespace quorvel
