#include "tests/support/GeneratedContracts.h"

#include "platform/db/Transaction.h"

namespace zrv::test {

namespace {

// Settlements and rent types the contracts name.
constexpr const char* kClassifiers = R"(execute block as
begin
  update or insert into nm_kl (nm_id, nm_text, nm_obid, nm_obtext, nm_eknm)
    values (9001, 'Русе', 1, 'Русе', '63427') matching (nm_id);
  update or insert into nm_kl (nm_id, nm_text, nm_obid, nm_obtext, nm_eknm)
    values (9002, 'Николово', 1, 'Русе', '51679') matching (nm_id);
  update or insert into nm_kl (nm_id, nm_text, nm_obid, nm_obtext, nm_eknm)
    values (9003, 'Бяла', 2, 'Бяла', '07598') matching (nm_id);
  update or insert into renttypes (rt_id, rt_text, rt_app)
    values (9001, 'Наем терен', 1) matching (rt_id);
  update or insert into renttypes (rt_id, rt_text, rt_app)
    values (9002, 'Наем реклама', 1) matching (rt_id);
  if (not exists (select 1 from baserates)) then
  begin
    insert into baserates (br_firstday, br_lastday, br_rate, br_daily, br_issued)
      values ('01.01.2018', '31.12.2018', 3.00, 3.00 / 36000, '15.12.2017');
    insert into baserates values ('01.01.2019', '31.12.2019', 3.75, 3.75 / 36000, '15.12.2018');
    insert into baserates values ('01.01.2020', '31.12.2020', 4.50, 4.50 / 36000, '15.12.2019');
    insert into baserates values ('01.01.2021', '31.12.2021', 5.25, 5.25 / 36000, '15.12.2020');
    insert into baserates values ('01.01.2022', '31.12.2022', 6.00, 6.00 / 36000, '15.12.2021');
    insert into baserates values ('01.01.2023', '31.12.2023', 3.00, 3.00 / 36000, '15.12.2022');
    insert into baserates values ('01.01.2024', '31.12.2024', 3.75, 3.75 / 36000, '15.12.2023');
  end
end)";

// The contracts. A variable in a statement of the block is written ": name",
// with a blank after the colon: the program reads ":name" as a parameter.
constexpr const char* kContracts = R"(execute block (
  first_id integer = :first_id, n integer = :contracts,
  periods integer = :periods, payments integer = :payments,
  varied integer = :varied)
as
  declare id integer;
  declare q integer;
  declare k integer;
  declare half integer;
  declare start_day date;
  declare stop_day date;
  declare pstart date;
  declare kind integer;
  declare price double precision;
  declare pay_count integer;
  declare pay_date date;
  declare pay_val double precision;
  declare last_val double precision;
  declare last_date date;
  declare status integer;
  declare master integer;
  declare pay_type integer;
  declare flag integer;
  declare lixva double precision;
  declare ldate date;
  declare carry double precision;
  declare d_q integer;
  declare parts integer;
begin
  id = first_id;
  while (id < first_id + n) do
  begin
    k = 0;
    if (varied = 1) then k = mod(id, 7);
    start_day = dateadd(month, -periods - k, cast('01.01.2026' as date));
    stop_day = dateadd(day, -1, dateadd(month, periods, start_day));
    kind = 2;
    if (varied = 1) then kind = mod(id, 6);
    half = periods + 1;
    if (varied = 1 and mod(id, 3) = 0) then half = cast(periods / 2 as integer);

    insert into persons (per_id, per_name, per_egn, per_flag)
      values (: id, 'Наемател ' || : id, '70' || lpad(cast(: id as varchar(10)), 8, '0'), 'T');
    insert into imot (im_id, im_nm, im_nmas, im_npar, im_nn, im_ni)
      values (: id, 9001 + mod(: id, 3), mod(: id, 500), : id, 0, 0);
    insert into documents (doc_id, doc_nomtxt, doc_type, doc_datastart,
        doc_datastop, doc_initsum, da_valuta, doc_typetext, doc_free,
        doc_handrentinfo, da_rf3, doc_lihvastop, doc_imotid, da_if1, da_rf1)
      values (: id, : id || '/2023', 1002, : start_day, : stop_day,
        iif(: varied = 1 and mod(: id, 4) = 0, 50, 0),
        iif(: varied = 1 and mod(: id, 5) = 1, 1, 0), 'Наем', 'F', 'F',
        iif(: varied = 1 and mod(: id, 10) = 9,
            dateadd(month, : periods - 6, : start_day) - cast('30.12.1899' as date), 0),
        iif(: varied = 1 and mod(: id, 10) = 8,
            dateadd(month, : periods - 3, : start_day), null),
        : id, : id, 9001 + mod(: id, 2));
    insert into anecs (an_id, an_num, an_price, an_dtstart, an_dtstop, an_ltype,
        an_lpercent, an_lmax, an_dds, an_payday, an_freedate)
      values (: id, 1, 100, : start_day,
        iif(: half <= : periods, dateadd(day, -1, dateadd(month, : half, : start_day)), : stop_day),
        : kind,
        decode(: kind, 0, 0, 1, 10, 2, 10, 3, 0.05, 4, 0.04, 8),
        iif(: kind = 1 and mod(: id, 12) < 6, 2, iif(: kind in (3, 4), 15, 0)),
        iif(: varied = 1 and mod(: id, 2) = 1, 1200, 1201),
        iif(: varied = 1, decode(mod(: id, 4), 0, 10, 1, 105, 2, 215, 25), 10),
        : start_day);
    if (half <= periods) then
      insert into anecs (an_id, an_num, an_price, an_dtstart, an_dtstop, an_ltype,
          an_lpercent, an_lmax, an_dds, an_payday, an_freedate)
        values (: id, 2, 120, dateadd(month, : half, : start_day), : stop_day, : kind,
          decode(: kind, 0, 0, 1, 10, 2, 10, 3, 0.05, 4, 0.04, 8),
          iif(: kind in (3, 4), 15, 0), 1201, 10,
          dateadd(month, : half + 2, : start_day));
    if (varied = 1) then
      insert into invoices (in_id, in_invoicenum, in_payclearsum, in_paydds,
          in_factor, in_secondinvtype, in_waitpay)
        values (: id * 1000 + 999, : id * 1000 + 999, 100, 20, 1, '', 0);

    q = 0;
    while (q < periods) do
    begin
      pstart = dateadd(month, q, start_day);
      price = iif(q >= half, 120, 100) + iif(varied = 1 and mod(q, 13) = 0, 7.5, 0);
      insert into rentsinfo (ri_docid, ri_year, ri_month, ri_days, ri_price,
          ri_dtstart, ri_carried)
        values (: id, extract(year from : pstart), extract(month from : pstart),
          datediff(day, : pstart, dateadd(month, 1, : pstart)), : price, : pstart, 0);
      if (varied = 1 and mod(q + id, 12) = 7) then
      begin
        insert into invoices (in_id, in_invoicenum, in_payclearsum, in_paydds,
            in_factor, in_secondinvtype, in_waitpay)
          values (: id * 1000 + : q, : id * 1000 + : q, : price,
            iif(mod(: q + : id, 24) = 7, 0, 20),
            iif(mod(: q + : id, 36) = 7, 1.95583, 1), '', 1);
        insert into waitpayments (wp_id, wp_docid, wp_year, wp_month, wp_inid,
            wp_gensum, wp_gendds, wp_factor, wp_date, wp_state)
          values (: id * 1000 + : q, : id, extract(year from : pstart),
            extract(month from : pstart), : id * 1000 + : q, : price, 0, 1, : pstart,
            mod(: q, 3));
      end
      q = q + 1;
    end

    pay_count = payments;
    if (varied = 1 and mod(id, 15) = 14) then pay_count = 0;
    if (varied = 1 and mod(id, 4) = 0) then
      insert into payment (p_id, p_num, p_data, p_val, p_carry, p_factor,
          p_paytype, p_status)
        values (: id, 0, : start_day, 0, 2.25, 1, 2, 1);
    last_val = 0;
    last_date = start_day;
    k = 1;
    while (k <= pay_count) do
    begin
      q = k - 1;
      pstart = dateadd(month, q, start_day);
      price = iif(q >= half, 120, 100) + iif(varied = 1 and mod(q, 13) = 0, 7.5, 0);
      pay_date = pstart + 4 + iif(varied = 1, mod(k * 7, 20), 0);
      if (varied = 1 and mod(k, 9) = 0) then pay_date = pay_date + 60;
      pay_val = price;
      status = 1; master = 0; pay_type = 2; flag = 0;
      lixva = 0; ldate = null; carry = 0;
      d_q = q; parts = 1;
      if (varied = 1) then
      begin
        if (k > 1 and mod(k + id, 13) = 0) then
        begin
          status = 3; master = k - 1; pay_val = -last_val;
          pay_date = last_date + 3; d_q = q - 1;
        end
        else if (k > 1 and mod(k + id, 11) = 0) then
        begin
          pay_val = -30; d_q = q - 1;
        end
        else if (mod(k + id, 17) = 0) then pay_val = price * 4;
        else if (mod(k + id, 7) = 0) then parts = 2;
        else if (mod(k + id, 5) = 0) then pay_val = cast(price * 60 as integer) / 100.00;
        if (mod(id, 8) = 3 and k = pay_count) then pay_val = price * 8;
        if (mod(k + id, 4) = 0) then lixva = 1.5 + mod(k, 7);
        if (mod(k + id, 29) = 0) then lixva = 80;
        if (lixva > 0) then ldate = pay_date - 1;
        if (mod(k, 10) = 0) then carry = k * 0.037;
        if (mod(k + id, 19) = 0) then pay_type = 1;
        if (mod(k + id, 23) = 0) then
        begin
          pay_type = 1; flag = id * 1000 + 999;
        end
      end
      insert into payment (p_id, p_num, p_data, p_val, p_lixva, p_ldate,
          p_carry, p_factor, p_flag, p_paytype, p_masternum, p_status)
        values (: id, : k, : pay_date, : pay_val, : lixva, : ldate, : carry, 1, : flag,
          : pay_type, : master, : status);
      pstart = dateadd(month, d_q, start_day);
      insert into paydetails (pd_id, pd_num, pd_year, pd_month, pd_sum)
        values (: id, : k, extract(year from : pstart), extract(month from : pstart),
          : pay_val / : parts);
      if (parts = 2) then
      begin
        pstart = dateadd(month, minvalue(d_q + 1, periods - 1), start_day);
        insert into paydetails (pd_id, pd_num, pd_year, pd_month, pd_sum)
          values (: id, : k, extract(year from : pstart), extract(month from : pstart),
            : pay_val / : parts);
      end
      last_val = pay_val;
      last_date = pay_date;
      k = k + 1;
    end
    id = id + 1;
  end
end)";

}  // namespace

void GenerateContracts(db::Connection& connection, const ContractShape& shape) {
  db::OwnTransaction tx(connection);
  auto q = connection.NewQuery();
  q->SetSQL(kClassifiers);
  q->Execute();
  q->SetSQL(kContracts);
  q->SetInteger("first_id", shape.firstId);
  q->SetInteger("contracts", shape.count);
  q->SetInteger("periods", shape.periods);
  q->SetInteger("payments", shape.payments);
  q->SetInteger("varied", shape.varied ? 1 : 0);
  q->Execute();
  tx.Commit();
}

}  // namespace zrv::test
