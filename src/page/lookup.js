(function () {
  'use strict';
  // The run wrote each list's contacts one a line, their fields parted by
  // tabs: callsign, date (YYYYMMDD when the run could read it), time, band
  // as the list shows it, mode, and any comment. The band is a key of
  // bandOf, which names it: the list's text, or, for a text that stands
  // for two bands, the text, U+0001 and more. A line the run could not
  // split is its callsign, a tab, U+0001 and the whole list line.
  var data = JSON.parse(document.getElementById('lists').textContent);
  var box = document.getElementById('call');
  var summary = document.getElementById('summary');
  var answer = document.getElementById('answer');
  var svgSpace = 'http://www.w3.org/2000/svg';
  // A beginning that many callsigns share shows the first cards only:
  // building a card's tables is what a keystroke waits for.
  var mostShown = 1000, mostCards = 20;
  var lists = [];
  var total = 0;

  // Each list stays one text, a record a line, until it is looked in.
  data.lists.forEach(function (text, i) { lists.push({ name: data.names[i], text: text, sorted: data.sorted[i] }); });
  data.overview.bands.forEach(function (band) { total += band[1]; });
  // Modes stand in the order of their contacts in the whole log.
  var modeRank = new Map();
  data.overview.modes.forEach(function (mode, rank) { modeRank.set(mode[0], rank); });

  function element(tag, text, className) {
    var made = document.createElement(tag);
    if (text !== undefined) made.textContent = text;
    if (className) made.className = className;
    return made;
  }
  function counted(count, word) { return count + ' ' + word + (count === 1 ? '' : 's'); }
  function shownDate(date) {
    return /^[0-9]{8}$/.test(date) ? date.slice(0, 4) + '-' + date.slice(4, 6) + '-' + date.slice(6) : date;
  }

  function contactOf(record) {
    var fields = record.split('\t');
    var call = fields[0];
    if (fields.length > 1 && fields[1].charAt(0) === '\u0001') {
      return { call: call, whole: record.slice(call.length + 2), date: '', time: '', band: 'other',
               bandRank: data.bands.length, bandText: '', mode: 'other', comment: '' };
    }
    var bandKey = fields[3] || '', bandText = bandKey.split('\u0001')[0];
    var band = Object.prototype.hasOwnProperty.call(data.bandOf, bandKey) ? data.bandOf[bandKey] : -1;
    return { call: call, date: fields[1] || '', time: fields[2] || '', bandText: bandText,
             band: band < 0 ? 'other' : data.bands[band], bandRank: band < 0 ? data.bands.length : band,
             mode: fields[4] || 'other', comment: fields.slice(5).join('\t') };
  }
  function dated(contact) { return /^[0-9]{8}$/.test(contact.date); }
  function newestFirst(a, b) {
    var left = (dated(a) ? a.date : '') + a.time, right = (dated(b) ? b.date : '') + b.time;
    return left < right ? 1 : left > right ? -1 : 0;
  }

  function row(cells, header) {
    var made = element('tr');
    cells.forEach(function (cell, at) {
      made.appendChild(element(header || (header === undefined && at === 0) ? 'th' : 'td', cell));
    });
    return made;
  }
  function table(className, caption, head) {
    var made = element('table', undefined, className);
    made.appendChild(element('caption', caption));
    made.appendChild(element('thead')).appendChild(row(head, true));
    made.appendChild(element('tbody'));
    return made;
  }

  function facts(contacts) {
    var dates = contacts.filter(dated).map(function (contact) { return contact.date; }).sort();
    var text = counted(contacts.length, 'contact');
    if (dates.length === 0) return text;
    var first = shownDate(dates[0]), last = shownDate(dates[dates.length - 1]);
    return text + (first === last ? ', on ' + first : ', first ' + first + ', last ' + last);
  }

  // One row a band, one column a mode, each cell its contacts.
  function grid(contacts) {
    var bands = new Map(), modes = [], cells = new Map();
    contacts.forEach(function (contact) {
      bands.set(contact.band, contact.bandRank);
      if (modes.indexOf(contact.mode) < 0) modes.push(contact.mode);
      var key = contact.band + '\t' + contact.mode;
      cells.set(key, (cells.get(key) || 0) + 1);
    });
    modes.sort(function (a, b) { return modeRank.get(a) - modeRank.get(b); });
    var made = table('grid', 'By band and mode', ['Band'].concat(modes));
    Array.from(bands.keys()).sort(function (a, b) { return bands.get(a) - bands.get(b); }).forEach(function (band) {
      var line = row([band]);
      modes.forEach(function (mode) {
        var count = cells.get(band + '\t' + mode);
        line.appendChild(element('td', count ? String(count) : '\u00b7', count ? '' : 'none'));
      });
      made.tBodies[0].appendChild(line);
    });
    return made;
  }

  function contactTable(contacts, shown) {
    var withComment = data.comment || contacts.some(function (contact) { return contact.comment !== ''; });
    var head = ['Date', 'Time', 'Band', 'Mode'].concat(withComment ? ['Comment'] : []);
    var made = table('contacts', 'Contacts, newest first', head);
    contacts.slice(0, shown).forEach(function (contact) {
      var line;
      if (contact.whole !== undefined) {
        line = element('tr');
        var whole = line.appendChild(element('td', contact.whole, 'whole'));
        whole.colSpan = head.length;
      } else {
        var band = contact.band === 'other' ? contact.bandText : contact.band;
        line = row([shownDate(contact.date), contact.time, band, contact.mode].concat(withComment ? [contact.comment] : []), false);
        if (band !== contact.bandText) line.cells[2].title = contact.bandText;
      }
      made.tBodies[0].appendChild(line);
    });
    return made;
  }

  function card(call, records, shown) {
    var contacts = records.map(contactOf).sort(newestFirst);
    var section = element('section', undefined, 'card');
    section.appendChild(element('h2', call));
    section.appendChild(element('p', facts(contacts), 'facts'));
    section.appendChild(grid(contacts));
    section.appendChild(contactTable(contacts, shown));
    return section;
  }

  function callOf(record) { return record.slice(0, record.indexOf('\t')); }
  function lineEnd(text, at) {
    var end = text.indexOf('\n', at);
    return end < 0 ? text.length : end;
  }

  // Where the first record whose callsign is not before `prefix` begins,
  // in the text of a list in the order of its callsigns: found by halving
  // the text itself, so that no list is ever split whole.
  function firstFrom(text, prefix) {
    var low = 0, high = text.length;
    while (low < high) {
      var middle = (low + high) >>> 1;
      middle = middle === 0 ? 0 : Math.max(low, text.lastIndexOf('\n', middle - 1) + 1);
      var end = lineEnd(text, middle);
      if (callOf(text.slice(middle, end)) < prefix) low = end + 1; else high = middle;
    }
    return low;
  }

  // The records of `text` (in the order of their callsigns, one a line)
  // from `first` to `last`: each callsign with where its records begin and
  // end, and how many they are.
  function groupsFrom(text, first, last) {
    var groups = [], start = '', count = 0, at = first;
    for (; at < last; at = lineEnd(text, at) + 1, ++count) {
      if (groups.length > 0 && text.startsWith(start, at)) continue;
      if (groups.length > 0) groups[groups.length - 1].to = at - 1;
      var call = text.slice(at, text.indexOf('\t', at));
      groups.push({ call: call, from: at, to: text.length });
      start = call + '\t';
    }
    if (groups.length > 0) groups[groups.length - 1].to = Math.min(at - 1, text.length);
    return { text: text, groups: groups, count: count };
  }

  // The records of `list` whose callsigns begin with `prefix`, grouped in
  // the order of their callsigns. Whether a list is in the order this
  // script's `<` sees is decided where the page is written (list.sorted,
  // see script_order.h); any other list is looked through whole.
  function matches(list, prefix) {
    // No callsign that begins with the prefix comes after it with U+FFFF.
    var text = list.text;
    if (list.sorted) return groupsFrom(text, firstFrom(text, prefix), firstFrom(text, prefix + '\uffff'));
    var picked = (text === '' ? [] : text.split('\n'))
      .filter(function (record) { return callOf(record).lastIndexOf(prefix, 0) === 0; })
      .map(function (record, at) { return { record: record, call: callOf(record), at: at }; })
      .sort(function (a, b) { return a.call < b.call ? -1 : a.call > b.call ? 1 : a.at - b.at; })
      .map(function (item) { return item.record; });
    text = picked.join('\n');
    return groupsFrom(text, 0, text.length);
  }

  function lookUp(prefix) {
    var list = lists[data.names.findIndex(function (name) { return name.charAt(0).toUpperCase() === prefix.charAt(0); })];
    var found = list ? matches(list, prefix) : { groups: [], count: 0 };
    if (found.count === 0) {
      summary.textContent = 'Not worked';
      return;
    }
    summary.textContent = counted(found.count, 'contact') + ' with ' + counted(found.groups.length, 'callsign');
    var shown = 0, cards = 0;
    found.groups.some(function (group) {
      var records = found.text.slice(group.from, group.to).split('\n');
      var room = Math.min(records.length, mostShown - shown);
      answer.appendChild(card(group.call, records, room));
      shown += room;
      return shown >= mostShown || ++cards >= mostCards;
    });
    if (shown < found.count) {
      answer.appendChild(element('p', 'The first ' + shown + ' of ' + found.count + ' contacts: type more of the callsign.'));
    }
  }

  function svg(tag, attributes, text) {
    var made = document.createElementNS(svgSpace, tag);
    Object.keys(attributes).forEach(function (name) { made.setAttribute(name, attributes[name]); });
    if (text !== undefined) made.textContent = text;
    return made;
  }

  // A picture of bars, one a row (label, count, and a link or not), with
  // its numbers in a table beside it.
  function bars(title, heading, rows) {
    var figure = element('figure');
    figure.appendChild(element('figcaption', title));
    var most = rows.reduce(function (top, item) { return Math.max(top, item.count); }, 1);
    var step = 20, left = 90, room = 270;
    var picture = svg('svg', { viewBox: '0 0 420 ' + (rows.length * step + 4), width: 420,
                               height: rows.length * step + 4, role: 'img', 'aria-label': title });
    var numbers = table('', title, [heading, 'Contacts']);
    rows.forEach(function (item, at) {
      var y = at * step + 2;
      var label = svg('text', { x: left - 6, y: y + 14, 'text-anchor': 'end', 'class': 'label' }, item.label);
      if (item.link) {
        var link = svg('a', { href: item.link });
        link.appendChild(label);
        picture.appendChild(link);
      } else {
        picture.appendChild(label);
      }
      var width = Math.max(1, Math.round(room * item.count / most));
      picture.appendChild(svg('rect', { x: left, y: y + 2, width: width, height: step - 5,
                                        'class': item.label === 'other' ? 'other' : 'bar' }));
      picture.appendChild(svg('text', { x: left + width + 4, y: y + 14, 'class': 'count' }, String(item.count)));
      numbers.tBodies[0].appendChild(row([item.label, String(item.count)]));
    });
    figure.appendChild(picture);
    figure.appendChild(element('div', undefined, 'numbers')).appendChild(numbers);
    return figure;
  }

  function rowsOf(pairs) { return pairs.map(function (pair) { return { label: pair[0], count: pair[1] }; }); }
  function topModes(modes) {
    var named = modes.filter(function (mode) { return mode[0] !== 'other'; });
    var rest = modes.filter(function (mode) { return named.indexOf(mode) >= 10; })
      .reduce(function (sum, mode) { return sum + mode[1]; }, 0);
    var rows = rowsOf(named.slice(0, 10));
    if (rest > 0) rows.push({ label: 'other', count: rest });
    return rows;
  }

  function overview() {
    summary.textContent = counted(total, 'contact') + ' in ' + lists.length + ' lists';
    if (total === 0) return;
    var shown = data.overview;
    var pictures = element('div', undefined, 'pictures');
    pictures.appendChild(bars('Contacts per band', 'Band', rowsOf(shown.bands)));
    pictures.appendChild(bars('Contacts per mode', 'Mode', topModes(shown.modes)));
    pictures.appendChild(bars('Contacts per year', 'Year', rowsOf(shown.years)));
    pictures.appendChild(bars('Most-worked callsigns', 'Callsign', shown.calls.map(function (pair) {
      return { label: pair[0], count: pair[1], link: '#' + encodeURIComponent(pair[0]) };
    })));
    answer.appendChild(pictures);
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
